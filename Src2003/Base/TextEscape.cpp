#include "TextEscape.h"

namespace {

constexpr char kEscape = '\\';
constexpr unsigned char kFirstPlainCode = 32;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::string EscapeText(std::string_view text) {
  std::string escaped;
  escaped.reserve(text.size());
  for (char c : text) {
    const unsigned char code = static_cast<unsigned char>(c);
    if (code < kFirstPlainCode) {
      escaped += kEscape;
      escaped += static_cast<char>('0' + code / 10);
      escaped += static_cast<char>('0' + code % 10);
    } else if (c == kEscape) {
      escaped += kEscape;
      escaped += kEscape;
    } else {
      escaped += c;
    }
  }
  return escaped;
}

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
