#include "LxText.h"



namespace {

// Windows-1252 lower case of a byte: ASCII letters, the accented capitals
// C0..DE (except the multiplication sign D7), and Š Œ Ž Ÿ.
unsigned char FoldCase(unsigned char c) {
  if (c >= 'A' && c <= 'Z') return static_cast<unsigned char>(c + 32);
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<unsigned char>(c + 32);
  switch (c) {
    case 0x8A: return 0x9A;  // Š
    case 0x8C: return 0x9C;  // Œ
    case 0x8E: return 0x9E;  // Ž
    case 0x9F: return 0xFF;  // Ÿ
    default: return c;
  }
}

bool IsTrimmed(unsigned char c) { return c <= ' '; }

}  // namespace

std::string LxTrim(std::string_view text) {
  std::size_t begin = 0;
  std::size_t end = text.size();
  while (begin < end && IsTrimmed(static_cast<unsigned char>(text[begin]))) ++begin;
  while (end > begin && IsTrimmed(static_cast<unsigned char>(text[end - 1]))) --end;
  return std::string(text.substr(begin, end - begin));
}

bool LxSameText(std::string_view first, std::string_view second) {
  if (first.size() != second.size()) return false;
  for (std::size_t i = 0; i < first.size(); ++i) {
    if (FoldCase(static_cast<unsigned char>(first[i])) != FoldCase(static_cast<unsigned char>(second[i]))) {
      return false;
    }
  }
  return true;
}

std::string TLxNameValueList::Values(std::string_view name) const {
  const std::int32_t index = IndexOfName(name);
  return index >= 0 ? entries_[static_cast<std::size_t>(index)].Value : std::string();
}

std::int32_t TLxNameValueList::IndexOfName(std::string_view name) const {
  for (std::size_t i = 0; i < entries_.size(); ++i) {
    if (LxSameText(entries_[i].Name, name)) return static_cast<std::int32_t>(i);
  }
  return -1;
}

void TLxNameValueList::SetValue(std::string_view name, std::string value) {
  const std::int32_t index = IndexOfName(name);
  if (value.empty()) {
    if (index >= 0) entries_.erase(entries_.begin() + index);
  } else if (index >= 0) {
    entries_[static_cast<std::size_t>(index)].Value = std::move(value);
  } else {
    entries_.push_back(TEntry{std::string(name), std::move(value)});
  }
}
