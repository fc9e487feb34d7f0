#include "CommaList.h"

#include <algorithm>

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

}  // namespace

TCommaListReader::TCommaListReader(std::string_view text) : text_(UpToNul(text)) {
  SkipBlanks(text_, pos_);
}

// A quoted item runs to the matching closing quote, "" standing for one
// quote; an unterminated item runs to the end of the text. Most items hold
// no quote of their own and are returned as they lie in the text.
std::string_view TCommaListReader::ReadQuotedItem() {
  ++pos_;  // the opening quote
  size_t close = text_.find(kQuote, pos_);
  if (close == std::string_view::npos) close = text_.size();
  if (close + 1 >= text_.size() || text_[close + 1] != kQuote) {
    const std::string_view item = text_.substr(pos_, close - pos_);
    pos_ = std::min(close + 1, text_.size());
    return item;
  }
  unquoted_.clear();
  while (pos_ < text_.size()) {
    close = text_.find(kQuote, pos_);
    if (close == std::string_view::npos) close = text_.size();
    unquoted_.append(text_.substr(pos_, close - pos_));
    pos_ = close + 1;
    if (pos_ < text_.size() && text_[pos_] == kQuote) {
      unquoted_ += kQuote;
      ++pos_;
    } else {
      break;
    }
  }
  pos_ = std::min(pos_, text_.size());
  return unquoted_;
}

std::string_view TCommaListReader::ReadBareItem() {
  const size_t start = pos_;
  while (pos_ < text_.size() && text_[pos_] != kSeparator && !IsBlankOrControl(text_[pos_])) ++pos_;
  return text_.substr(start, pos_ - start);
}

void TCommaListReader::SkipSeparator() {
  SkipBlanks(text_, pos_);
  if (pos_ < text_.size() && text_[pos_] == kSeparator) {
    ++pos_;
    SkipBlanks(text_, pos_);
  }
}

bool TCommaListReader::Next(std::string_view& item) {
  if (pos_ >= text_.size()) return false;
  item = text_[pos_] == kQuote ? ReadQuotedItem() : ReadBareItem();
  SkipSeparator();
  return true;
}

std::vector<std::string> SplitCommaList(std::string_view text) {
  std::vector<std::string> items;
  TCommaListReader reader(text);
  for (std::string_view item; reader.Next(item);) items.emplace_back(item);
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
