#pragma once

// Windows-1252 text helpers of the foundation: trimming, comparing without
// regard to case, and name=value lists.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Removes blanks and control characters (codes 0 to 32) at both ends:
//   LxTrim("\t Data \r") gives "Data".
std::string LxTrim(std::string_view text);

// Equal without regard to case, Windows-1252 letters included (á/Á, ç/Ç, ...):
//   LxSameText("Codificação", "CODIFICAÇÃO") is true (in Windows-1252 bytes).
bool LxSameText(std::string_view first, std::string_view second);

// True when `test` gives 1 for some byte of `text` (each byte passed as an
// unsigned char; `test` returns 0 or 1). Writers scan every text they write
// for characters that need quoting or escaping; the bytes are tested in blocks
// of 16 with no early exit inside a block, which the compiler turns into
// vector instructions when `test` is written without branches:
//   LxAnyByte(text, [](unsigned char c) { return c < 32 ? 1 : 0; })
template <typename TByteTest>
bool LxAnyByte(std::string_view text, TByteTest test) {
  constexpr std::size_t kBlockBytes = 16;
  const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
  std::size_t at = 0;
  for (; at + kBlockBytes <= text.size(); at += kBlockBytes) {
    unsigned char found = 0;
    for (std::size_t i = 0; i < kBlockBytes; ++i) found |= test(bytes[at + i]);
    if (found != 0) return true;
  }
  for (; at < text.size(); ++at) {
    if (test(bytes[at]) != 0) return true;
  }
  return false;
}

// An ordered list of lines, as ReadLines fills it.
using TLxStringList = std::vector<std::string>;

// An ordered list of name=value entries whose names compare without regard to
// case (LxSameText). Names are unique in the list.
//
//   TLxNameValueList v;
//   v.SetValue("Data", "01/02/2003");
//   v.Values("DATA");             // "01/02/2003"
//   v.Values("Tamanho");          // "" (absent)
//   v.SetValue("data", "x");      // replaces, the entry keeps its place
//   v.SetValue("Data", "");       // deletes the entry
class TLxNameValueList {
 public:
  struct TEntry {
    std::string Name;
    std::string Value;
  };

  std::int32_t Count() const { return static_cast<std::int32_t>(entries_.size()); }
  const TEntry& operator[](std::int32_t index) const { return entries_.at(static_cast<std::size_t>(index)); }
  const std::vector<TEntry>& Entries() const { return entries_; }
  std::vector<TEntry>::const_iterator begin() const { return entries_.begin(); }
  std::vector<TEntry>::const_iterator end() const { return entries_.end(); }

  // The value of name, or "" when absent.
  std::string Values(std::string_view name) const;
  // Index of the entry, or -1.
  std::int32_t IndexOfName(std::string_view name) const;
  bool Contains(std::string_view name) const { return IndexOfName(name) >= 0; }
  // A non-empty value replaces the entry's value or appends a new entry; an
  // empty value deletes the entry (and adds none).
  void SetValue(std::string_view name, std::string value);
  void Clear() { entries_.clear(); }

 private:
  std::vector<TEntry> entries_;
};
