#pragma once

#include <string>
#include <string_view>
#include <vector>

// Fixtures under tests/data/rtf: each NAME.rtf was written by a word processor
// (or by hand in its style) and NAME.txt (UTF-8) holds the text it shows.
std::vector<std::string> RtfFixtureNames();
std::string ReadRtfFixture(const std::string& name);
// The expected text, in Windows-1252 ("?" for characters outside it).
std::string ReadExpectedText(const std::string& name);

// The words the index would see: runs of three or more letters, or of three
// or more digits, letters and digits as Unicode classifies each Windows-1252
// character.
std::vector<std::string> WordsOf(std::string_view win1252);

// Counts CR LF as one position, as the view does: "a\r\nb" gives "a\nb".
std::string CollapseLineBreaks(std::string_view text);
