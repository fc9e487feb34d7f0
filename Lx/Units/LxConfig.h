#pragma once

// Unit LxConfig: a settings store described by a table. A program lists its
// settings once (where each value lives and what its default is) and reads and
// writes them by their position in that table. Nothing is cached: every read
// goes to the store, every write goes straight to it, so a value stored by
// another part of the program or by another process is seen at the next read.
//
// A setting that was never stored, or whose stored text is empty, reads as its
// default. Defaults may name variables between percent signs, resolved when
// read; the variables are the properties that the class and its subclasses
// publish by name ("AppPath", "ProgramFilesDir", and e.g. "ProgramFolder"):
//   "%ProgramFolder%/Dados" with ProgramFolder "/opt/pandecta" reads "/opt/pandecta/Dados"
//   "100%%seguro" reads "100%seguro"
//   "%NoSuchProperty%\x" reads "\x"
//   "abc%def" reads "abc" (an unclosed name is dropped)
// Stored text is returned exactly as stored; variables in it stay unexpanded.
//
// Store failures never raise: unreadable values read as their default,
// unwritable ones are dropped.

#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "LxConfigStore.h"

// One entry of a settings table.
struct TLxConfigVariable {
  TLxRootKey RootKey = TLxRootKey::CurrentUser;
  // Sub-key below the store's RegistryKey and value name, joined by "\":
  // "Atualização\Proxy\Porta" is the value "Porta" of the key
  // RegistryKey + "\Atualização\Proxy"; "Porta" alone lives in RegistryKey.
  std::string KeyPath;
  std::string DefaultValue;
};

class TLxConfig {
 public:
  // registryKey: the store's own key below each entry's root, without a
  // trailing "\". The table is not copied and must outlive the object.
  TLxConfig(std::string registryKey, std::span<const TLxConfigVariable> variables,
            std::unique_ptr<TLxConfigStore> store);
  virtual ~TLxConfig() = default;
  TLxConfig(const TLxConfig&) = delete;
  TLxConfig& operator=(const TLxConfig&) = delete;

  // Stored text if non-empty, else the expanded default. Raises
  // ELxAssertionFailed for an index outside the table.
  std::string GetString(int index) const;
  // Stores the text; the empty text makes the entry read as its default again.
  void SetString(int index, const std::string& value);
  // True for "true" and "y" (any case) and for decimal integers other than 0:
  // "TRUE", "Y", "1", "-3" are true; "false", "0", "", "sim" are false.
  bool GetBoolean(int index) const;
  // Stores "true" or "false".
  void SetBoolean(int index, bool value);

  // Published properties.
  // The folder of the running executable, without a trailing separator.
  std::string AppPath() const;
  // The system's program-files folder.
  std::string ProgramFilesDir() const;

  // Reads a published property by its name (letter case ignored); nothing when
  // no property has that name.
  std::optional<std::string> ReadProperty(std::string_view name) const;
  // Expands the variables of a default as GetString does.
  std::string ExpandVariables(std::string_view text) const;

  const std::string& RegistryKey() const { return registryKey_; }
  std::span<const TLxConfigVariable> Variables() const { return variables_; }
  TLxConfigStore& Store() const { return *store_; }

 protected:
  using TPropertyGetter = std::function<std::string()>;
  // Makes a string property readable by name and so usable as a variable.
  void PublishProperty(std::string name, TPropertyGetter getter);

 private:
  struct TValueAddress {
    std::string Key;
    std::string ValueName;
  };
  const TLxConfigVariable& Entry(int index) const;
  TValueAddress AddressOf(const TLxConfigVariable& entry) const;

  std::string registryKey_;
  std::span<const TLxConfigVariable> variables_;
  std::unique_ptr<TLxConfigStore> store_;
  std::vector<std::pair<std::string, TPropertyGetter>> published_;
};
