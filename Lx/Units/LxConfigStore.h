#pragma once

// Where the settings of a TLxConfig live. The store only moves text between
// the program and a backend; it knows nothing about defaults or variables.
//
// Backends never raise: a value that cannot be read is empty text, a value
// that cannot be written is dropped. Callers treat empty text as "not stored".

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <tuple>
#include <variant>

// The hive that holds a setting. The program's own settings all live under the
// current user; the local machine serves read-only system-wide values.
enum class TLxRootKey { CurrentUser, LocalMachine };

// A key is a path of sub-keys separated by "\", such as
// "Software\Orvalho\Pandecta\2.0\Atualização\Proxy"; a value name is one name
// inside a key ("Porta").
class TLxConfigStore {
 public:
  virtual ~TLxConfigStore() = default;

  // The value as text: a string as stored, a 32-bit number as its unsigned
  // decimal text ("4294967295" for all bits set), anything else as "".
  virtual std::string ReadValue(TLxRootKey root, const std::string& key, const std::string& valueName) = 0;
  // Stores a string value, creating the key when needed.
  virtual void WriteValue(TLxRootKey root, const std::string& key, const std::string& valueName,
                          const std::string& text) = 0;
};

// The platform's settings through QSettings. Windows: the registry itself,
// each root being its hive (HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE). Elsewhere:
// the user's native settings file for Orvalho/Pandecta (on Linux
// ~/.config/Orvalho/Pandecta.conf) for the current user and the system-wide
// one for the local machine; keys keep their full path inside the file, as
// sub-groups ("Software/Orvalho/Pandecta/2.0/Atualização/URL").
//
// Every read first synchronises with the file, so that a value written by
// another process is seen at once. After every write the file is made readable
// by its owner only (0600): it may hold a proxy password.
class TLxSettingsConfigStore : public TLxConfigStore {
 public:
  // The platform's own locations, as described above.
  TLxSettingsConfigStore();
  // One INI file that stands for every root (tests, portable installations).
  explicit TLxSettingsConfigStore(std::string iniFilePath);

  std::string ReadValue(TLxRootKey root, const std::string& key, const std::string& valueName) override;
  void WriteValue(TLxRootKey root, const std::string& key, const std::string& valueName,
                  const std::string& text) override;

 private:
  std::string iniFilePath_;  // empty: the platform's own locations
};

// Settings held in memory, for tests. Besides strings it can hold a 32-bit
// number, as the registry's DWORD values, and a value of a type the store
// does not read (a binary value), to check how readers treat them.
class TLxMemoryConfigStore : public TLxConfigStore {
 public:
  std::string ReadValue(TLxRootKey root, const std::string& key, const std::string& valueName) override;
  void WriteValue(TLxRootKey root, const std::string& key, const std::string& valueName,
                  const std::string& text) override;

  void WriteDword(TLxRootKey root, const std::string& key, const std::string& valueName, std::uint32_t value);
  void WriteBinary(TLxRootKey root, const std::string& key, const std::string& valueName, std::string bytes);
  // True when the exact key and value name hold something, for checking where a
  // setting was stored.
  bool HasValue(TLxRootKey root, const std::string& key, const std::string& valueName) const;
  // When set, every later write is dropped, as when the registry refuses access.
  void SetWritesFail(bool fail) { writesFail_ = fail; }

 private:
  struct TBinary {
    std::string Bytes;
  };
  using TValue = std::variant<std::string, std::uint32_t, TBinary>;
  using TAddress = std::tuple<TLxRootKey, std::string, std::string>;

  mutable std::mutex mutex_;
  std::map<TAddress, TValue> values_;
  bool writesFail_ = false;
};
