#pragma once

#include <string>
#include <string_view>
#include <vector>

// The comma list of index record lines and hyperlink lines.
//
// Writing joins items with ","; an item holding a blank or a control
// character, a comma or a double quote is quoted, inner quotes doubled:
//   {"5", "0", "Lei 1,2", ""}  gives  5,0,"Lei 1,2",
//   {"diz \"x\""}              gives  "diz ""x"""
//   {""}                       gives  ""
//
// Reading skips blanks around items and one comma between them. A bare item
// ends at a comma or at a blank/control character; a quoted one at its
// closing quote. An empty item between commas survives, a trailing one is
// dropped, and a NUL ends the text:
//   `a, "b c" ,,d,`  gives  {"a", "b c", "", "d"}
//   `x y`            gives  {"x", "y"}
std::vector<std::string> SplitCommaList(std::string_view text);

// The same reading, one item at a time, without copying: an item is a view
// into the text, or into the reader's own buffer when doubled quotes had to
// be undone. A view stays valid until the next call.
//   TCommaListReader reader(line);
//   for (std::string_view item; reader.Next(item);) ...
class TCommaListReader {
 public:
  explicit TCommaListReader(std::string_view text);
  // Points `item` at the next item and returns true, or returns false at the end.
  bool Next(std::string_view& item);

 private:
  std::string_view ReadQuotedItem();
  std::string_view ReadBareItem();
  void SkipSeparator();

  std::string_view text_;
  size_t pos_ = 0;
  std::string unquoted_;
};
std::string JoinCommaList(const std::vector<std::string>& items);

// Appends one item, quoted if needed, to a line being built.
void AppendCommaItem(std::string& line, std::string_view item);
// Quotes, as AppendCommaItem would, the item that was appended to `line` from
// position `start` on, for items written straight into the line.
void QuoteAppendedCommaItem(std::string& line, std::size_t start);
