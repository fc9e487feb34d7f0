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

// Version tags of link lines.
inline constexpr const char* kHyperlinkVersion1 = "v1";
inline constexpr const char* kHyperlinkVersion2 = "v2";

// A link line is a comma list: tag, Line, Position, Length, Target[, URL].
//   "v2,0,120,9,5531"                    gives a link to entry 5531
//   "v1,3,10,4,0,\"http://x.br/a b\""    gives a link to that address
// Lines with another tag or fewer than five items give nothing; numbers that
// are not plain decimal digits read as 0.
std::optional<TTOMOHyperlinkRecord> ParseHyperlinkLine(std::string_view line);
std::string FormatHyperlinkLine(const TTOMOHyperlinkRecord& link, const char* version = kHyperlinkVersion2);
