#include "CommaList.h"

#include <algorithm>

#include "LxText.h"

namespace {

constexpr char kSeparator = ',';
constexpr char kQuote = '"';
constexpr unsigned char kLastBlank = 32;

bool IsBlankOrControl(char c) { return static_cast<unsigned char>(c) <= kLastBlank; }

// A blank or control character, a comma or a quote makes an item quoted.
// Without branches, so that LxAnyByte tests many bytes a step.
constexpr auto kMakesQuoted = [](unsigned char c) -> unsigned char {
  return (c <= kLastBlank ? 1 : 0) | (c == kSeparator ? 1 : 0) | (c == kQuote ? 1 : 0);
};

bool NeedsQuotes(std::string_view item) { return LxAnyByte(item, kMakesQuoted); }

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
  // Copied in runs, each ending at a quote of the item, which is doubled.
  line += kQuote;
  for (size_t quote; (quote = item.find(kQuote)) != std::string_view::npos;) {
    line.append(item.substr(0, quote + 1));
    line += kQuote;
    item.remove_prefix(quote + 1);
  }
  line += item;
  line += kQuote;
}

void QuoteAppendedCommaItem(std::string& line, std::size_t start) {
  const std::string_view item = std::string_view(line).substr(start);
  if (!NeedsQuotes(item)) return;
  if (item.find(kQuote) == std::string_view::npos) {
    // The item moves one place to the right, behind its opening quote.
    const std::size_t length = item.size();
    line += kQuote;
    std::char_traits<char>::move(&line[start + 1], &line[start], length);
    line[start] = kQuote;
    line += kQuote;
    return;
  }
  const std::string unquoted(item);
  line.resize(start);
  AppendCommaItem(line, unquoted);
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
