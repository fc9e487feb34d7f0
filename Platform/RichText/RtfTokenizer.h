#pragma once

#include <cstdint>
#include <string_view>

// Splits RTF into its lexical pieces. Never fails: a backslash at the end, an
// unterminated \'h escape or a stray byte each become some token, so any
// input yields a finite token sequence, one pass, no look-back.
//
//   {\b Bold\'e3\par}  gives  GroupStart, ControlWord "b", Text "Bold",
//                             HexByte 0xE3, ControlWord "par", GroupEnd, End.
enum class TRtfTokenKind : std::uint8_t {
  GroupStart,
  GroupEnd,
  ControlWord,    // \name or \nameN: `name`, `hasParameter`, `parameter`
  ControlSymbol,  // \ plus one non-letter: `symbol` ('~', '-', '*', '{', ...)
  HexByte,        // \'hh: `byte`
  Text,           // bytes without \ { } CR LF: `text`
  End,
};

struct TRtfToken {
  TRtfTokenKind kind = TRtfTokenKind::End;
  std::string_view text;  // Text bytes, or the control word's name
  bool hasParameter = false;
  std::int32_t parameter = 0;  // saturated to the 32-bit range
  char symbol = 0;
  unsigned char byte = 0;
};

class TRtfTokenizer {
 public:
  explicit TRtfTokenizer(std::string_view rtf) : rtf_(rtf) {}

  TRtfToken Next();

  // The `count` raw bytes that follow \binN; fewer when the input ends first.
  std::string_view TakeBinary(std::int64_t count);

  bool AtEnd() const { return pos_ >= rtf_.size(); }

 private:
  TRtfToken ReadControl();
  TRtfToken ReadText();
  std::int32_t ReadParameter();

  std::string_view rtf_;
  size_t pos_ = 0;
};
