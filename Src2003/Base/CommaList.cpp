#include "Base/CommaList.h"

namespace {

constexpr char kSeparator = ',';
constexpr char kQuote = '"';
constexpr unsigned char kLastBlank = 32;

bool IsBlankOrControl(char c) { return static_cast<unsigned char>(c) <= kLastBlank; }

bool NeedsQuotes(std::string_view item) {
  for (char c : item) {
    if (IsBlankOrControl(c) || c == kSeparator || c == kQuote) return true;
  }
  return false;
}

// The list is scanned like a NUL-terminated string: nothing after a NUL counts.
std::string_view UpToNul(std::string_view text) { return text.substr(0, text.find('\0')); }

void SkipBlanks(std::string_view text, size_t& pos) {
  while (pos < text.size() && IsBlankOrControl(text[pos])) ++pos;
}

// A quoted item: runs to the matching closing quote, "" standing for one
// quote; an unterminated item runs to the end of the text.
void ReadQuotedItem(std::string_view text, size_t& pos, std::string& item) {
  item.clear();
  ++pos;  // the opening quote
  while (pos < text.size()) {
    const char c = text[pos++];
    if (c != kQuote) {
      item += c;
    } else if (pos < text.size() && text[pos] == kQuote) {
      item += kQuote;
      ++pos;
    } else {
      break;
    }
  }
}

void ReadBareItem(std::string_view text, size_t& pos, std::string& item) {
  const size_t start = pos;
  while (pos < text.size() && text[pos] != kSeparator && !IsBlankOrControl(text[pos])) ++pos;
  item.assign(text.substr(start, pos - start));
}

}  // namespace

TCommaListReader::TCommaListReader(std::string_view text) : text_(UpToNul(text)) {
  SkipBlanks(text_, pos_);
}

bool TCommaListReader::Next(std::string& item) {
  if (pos_ >= text_.size()) return false;
  if (text_[pos_] == kQuote) {
    ReadQuotedItem(text_, pos_, item);
  } else {
    ReadBareItem(text_, pos_, item);
  }
  SkipBlanks(text_, pos_);
  if (pos_ < text_.size() && text_[pos_] == kSeparator) {
    ++pos_;
    SkipBlanks(text_, pos_);
  }
  return true;
}

std::vector<std::string> SplitCommaList(std::string_view text) {
  std::vector<std::string> items;
  TCommaListReader reader(text);
  std::string item;
  while (reader.Next(item)) items.push_back(item);
  return items;
}

void AppendCommaItem(std::string& line, std::string_view item) {
  if (!NeedsQuotes(item)) {
    line += item;
    return;
  }
  line += kQuote;
  for (char c : item) {
    if (c == kQuote) line += kQuote;
    line += c;
  }
  line += kQuote;
}

std::string JoinCommaList(const std::vector<std::string>& items) {
  if (items.size() == 1 && items.front().empty()) return std::string(2, kQuote);
  std::string line;
  for (size_t i = 0; i < items.size(); ++i) {
    if (i > 0) line += kSeparator;
    AppendCommaItem(line, items[i]);
  }
  return line;
}
