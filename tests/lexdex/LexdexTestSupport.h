#pragma once

// Shared helpers of the lexdex tests: hand-built file bytes, an index in a
// scratch folder, and collecting a search's triples.

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "TempFolder.h"
#include "Word.h"
#include "lexdex.h"

namespace lexdex_test {

using Triple = std::array<int, 3>;

// A little-endian 32-bit integer as 4 bytes of a string.
inline std::string Le32(std::uint32_t value) {
  std::string bytes(4, '\0');
  for (int i = 0; i < 4; ++i) bytes[i] = static_cast<char>(value >> (8 * i));
  return bytes;
}

// One record of a group file: L, the word, K, the pairs.
inline std::string Record(const std::string& word, const std::vector<std::pair<int, int>>& pairs) {
  std::string bytes(1, static_cast<char>(word.size()));
  bytes += word + Le32(static_cast<std::uint32_t>(pairs.size()));
  for (const auto& [a, b] : pairs) bytes += Le32(a) + Le32(b);
  return bytes;
}

// A whole group file from records already in word order.
inline std::string GroupFileBytes(const std::vector<std::string>& records) {
  std::string bytes = Le32(static_cast<std::uint32_t>(records.size()));
  std::uint32_t offset = 0;
  for (const std::string& record : records) {
    bytes += Le32(offset);
    offset += static_cast<std::uint32_t>(record.size());
  }
  for (const std::string& record : records) bytes += record;
  return bytes;
}

inline void AddElem(const std::string& word, int a, int b) {
  ACL_AddElem(word.data(), static_cast<int>(word.size()), a, b);
}

// Builds one group from (word, a, b) elements.
struct Elem {
  std::string word;
  int a;
  int b;
};
inline void BuildGroup(int group, const std::vector<Elem>& elements) {
  ACL_BeginGroup(group);
  for (const Elem& element : elements) AddElem(element.word, element.a, element.b);
  ACL_EndGroup();
}

// Every triple of a search, ended properly.
inline std::vector<Triple> FindAll(const std::string& word) {
  tacl_find* find = ACL_BeginFind(word.data(), static_cast<int>(word.size()));
  std::vector<Triple> triples;
  Triple triple{};
  while (ACL_Find(find, triple.data()) == 0) triples.push_back(triple);
  ACL_EndFind(find);
  return triples;
}

// The hint bit of (hash, group) in a hint file's bytes; bits past the end are 0.
inline bool HintBitInFile(const std::string& hint, std::uint32_t hash, int group) {
  const std::uint64_t byte = std::uint64_t(group / 512) * 1048576 + hash * 64 + (group % 512) / 8;
  return byte < hint.size() && ((static_cast<unsigned char>(hint[byte]) >> (group % 8)) & 1);
}

inline std::uint32_t HashOf(const std::string& word) {
  return lexdex::WordHash(reinterpret_cast<const std::uint8_t*>(word.data()), word.size());
}

// The first word `prefix` + a number whose hash satisfies `accept`.
template <typename Accept>
std::string WordWithHash(const std::string& prefix, Accept accept) {
  for (int n = 0;; ++n) {
    std::string word = prefix + std::to_string(n);
    if (accept(HashOf(word))) return word;
  }
}

// An index in a fresh scratch folder ("idx" inside a TempFolder), opened in
// create mode; Reopen closes and opens it again with other flags.
class IndexInFolder {
 public:
  IndexInFolder() : folder_(temp_.File("idx")) {
    ACL_Init();
    open_ = ACL_Open(folder_.c_str(), ACL_OPEN_CREATE) == ACL_OPEN_OK;
  }
  ~IndexInFolder() {
    if (open_) ACL_Close();
    ACL_End();
  }
  bool IsOpen() const { return open_; }
  int Reopen(int flags) {
    if (open_) ACL_Close();
    const int result = ACL_Open(folder_.c_str(), flags);
    open_ = result == 0;
    return result;
  }
  void Close() {
    if (open_) ACL_Close();
    open_ = false;
  }
  const std::string& Folder() const { return folder_; }
  std::string File(const std::string& relative) const { return folder_ + "/" + relative; }
  std::string HintBytes() const { return ReadWholeFile(File("hint.il")); }
  std::string GroupBytes(const std::string& relative) const { return ReadWholeFile(File(relative)); }

 private:
  TempFolder temp_;
  std::string folder_;
  bool open_ = false;
};

}  // namespace lexdex_test
