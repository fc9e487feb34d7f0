#include "RtfTokenizer.h"

#include <algorithm>
#include <limits>

namespace {

bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsAsciiDigit(char c) { return c >= '0' && c <= '9'; }

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool EndsText(char c) { return c == '\\' || c == '{' || c == '}' || c == '\r' || c == '\n'; }

constexpr std::int64_t kParameterMax = std::numeric_limits<std::int32_t>::max();

}  // namespace

TRtfToken TRtfTokenizer::Next() {
  // Raw line ends carry no meaning in RTF; writers wrap long lines anywhere.
  while (pos_ < rtf_.size() && (rtf_[pos_] == '\r' || rtf_[pos_] == '\n')) ++pos_;
  TRtfToken token;
  if (pos_ >= rtf_.size()) return token;
  switch (rtf_[pos_]) {
    case '{':
      ++pos_;
      token.kind = TRtfTokenKind::GroupStart;
      return token;
    case '}':
      ++pos_;
      token.kind = TRtfTokenKind::GroupEnd;
      return token;
    case '\\':
      return ReadControl();
    default:
      return ReadText();
  }
}

TRtfToken TRtfTokenizer::ReadText() {
  const size_t start = pos_;
  while (pos_ < rtf_.size() && !EndsText(rtf_[pos_])) ++pos_;
  TRtfToken token;
  token.kind = TRtfTokenKind::Text;
  token.text = rtf_.substr(start, pos_ - start);
  return token;
}

TRtfToken TRtfTokenizer::ReadControl() {
  ++pos_;  // the backslash
  TRtfToken token;
  if (pos_ >= rtf_.size()) return token;  // a lone backslash at the end
  const char first = rtf_[pos_];
  if (IsAsciiLetter(first)) {
    const size_t start = pos_;
    while (pos_ < rtf_.size() && IsAsciiLetter(rtf_[pos_])) ++pos_;
    token.kind = TRtfTokenKind::ControlWord;
    token.text = rtf_.substr(start, pos_ - start);
    if (pos_ < rtf_.size() && (rtf_[pos_] == '-' || IsAsciiDigit(rtf_[pos_]))) {
      token.hasParameter = true;
      token.parameter = ReadParameter();
    }
    // One blank after a control word is its delimiter, not text.
    if (pos_ < rtf_.size() && rtf_[pos_] == ' ') ++pos_;
    return token;
  }
  ++pos_;
  if (first == '\'') {
    token.kind = TRtfTokenKind::HexByte;
    int value = 0;
    for (int digit = 0; digit < 2 && pos_ < rtf_.size(); ++digit) {
      const int nibble = HexValue(rtf_[pos_]);
      if (nibble < 0) break;
      value = value * 16 + nibble;
      ++pos_;
    }
    token.byte = static_cast<unsigned char>(value);
    return token;
  }
  token.kind = TRtfTokenKind::ControlSymbol;
  // "\" before a line end is the old spelling of \par.
  token.symbol = (first == '\r' || first == '\n') ? '\n' : first;
  return token;
}

std::int32_t TRtfTokenizer::ReadParameter() {
  const bool negative = rtf_[pos_] == '-';
  if (negative) ++pos_;
  std::int64_t value = 0;
  while (pos_ < rtf_.size() && IsAsciiDigit(rtf_[pos_])) {
    value = std::min(value * 10 + (rtf_[pos_] - '0'), kParameterMax);
    ++pos_;
  }
  return static_cast<std::int32_t>(negative ? -value : value);
}

std::string_view TRtfTokenizer::TakeBinary(std::int64_t count) {
  const size_t available = rtf_.size() - pos_;
  const size_t length = count <= 0 ? 0 : std::min<std::uint64_t>(count, available);
  const std::string_view bytes = rtf_.substr(pos_, length);
  pos_ += length;
  return bytes;
}
