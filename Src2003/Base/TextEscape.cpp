#include "TextEscape.h"

#include "LxText.h"

namespace {

constexpr char kEscape = '\\';
constexpr unsigned char kFirstPlainCode = 32;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Without branches, so that LxAnyByte tests many bytes a step.
constexpr auto kNeedsEscape = [](unsigned char c) -> unsigned char {
  return (c < kFirstPlainCode ? 1 : 0) | (c == kEscape ? 1 : 0);
};

}  // namespace

std::string EscapeText(std::string_view text) {
  std::string escaped;
  escaped.reserve(text.size() + text.size() / 8);
  // Copied in runs of plain characters; only the rare escapes go one by one.
  std::size_t runStart = 0;
  for (std::size_t at = 0; at < text.size(); ++at) {
    const unsigned char code = static_cast<unsigned char>(text[at]);
    if (!kNeedsEscape(code)) continue;
    escaped.append(text.substr(runStart, at - runStart));
    if (code == kEscape) {
      escaped.append({kEscape, kEscape});
    } else {
      escaped.append({kEscape, static_cast<char>('0' + code / 10), static_cast<char>('0' + code % 10)});
    }
    runStart = at + 1;
  }
  escaped.append(text.substr(runStart));
  return escaped;
}

bool NeedsEscape(std::string_view text) { return LxAnyByte(text, kNeedsEscape); }

std::string UnescapeText(std::string_view text) {
  enum class State { Plain, Escape, Digit };
  State state = State::Plain;
  int firstDigit = 0;
  std::string plain;
  plain.reserve(text.size());
  for (char c : text) {
    switch (state) {
      case State::Plain:
        if (c == kEscape) {
          state = State::Escape;
        } else {
          plain += c;
        }
        break;
      case State::Escape:
        if (IsDigit(c)) {
          firstDigit = c - '0';
          state = State::Digit;
        } else if (c == kEscape) {
          plain += kEscape;
          state = State::Plain;
        }  // anything else is dropped and the escape stays open
        break;
      case State::Digit:
        if (IsDigit(c)) {
          plain += static_cast<char>(firstDigit * 10 + (c - '0'));
        } else {
          plain += static_cast<char>(firstDigit);
          plain += c;
        }
        state = State::Plain;
        break;
    }
  }
  return plain;
}
