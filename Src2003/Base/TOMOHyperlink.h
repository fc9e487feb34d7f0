#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// One link of a rich-text document.
struct TTOMOHyperlinkRecord {
  std::int32_t Line = 0;      // v1: zero-based line of the text; ignored for v2
  std::int32_t Position = 0;  // v1: column in that line; v2: position in the whole text
  std::int32_t Length = 0;    // characters
  std::int32_t Target = 0;    // Id of the entry to open
  std::string URL;            // when not empty, the address to open instead

  bool operator==(const TTOMOHyperlinkRecord&) const = default;
};

// A link as a body states it: version 1 places it by line and column,
// version 2 by position in the whole text.
struct TBodyLink {
  bool Version1 = false;
  TTOMOHyperlinkRecord Record;

  bool operator==(const TBodyLink&) const = default;
};

// Version tags of link lines.
inline constexpr const char* kHyperlinkVersion1 = "v1";
inline constexpr const char* kHyperlinkVersion2 = "v2";

// A link line is a comma list: tag, Line, Position, Length, Target[, URL].
//   "v2,0,120,9,5531"                    gives a v2 link to entry 5531
//   "v1,3,10,4,0,\"http://x.br/a b\""    gives a v1 link to that address
//   "v3,1,2,3,4"                         gives nothing (a tag of a later format)
// A v1 or v2 line that a view could not place is damage and raises
// ELxException: fewer than five items ("Atalho incompleto: '%s'"), or a
// number field that is not a decimal integer ("'x' não é um valor inteiro
// válido").
std::optional<TBodyLink> ParseHyperlinkLine(std::string_view line);
std::string FormatHyperlinkLine(const TBodyLink& link);
