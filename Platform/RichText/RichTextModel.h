#pragma once

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

// The document model that the RTF reader fills and from which both the plain
// text (for the word index) and the view document are made. It holds only
// what the reader shows: paragraphs of formatted runs, tables, pictures and
// link targets. Text is UTF-16 because the view counts positions in UTF-16
// code units; one code unit of a paragraph is one character position.

// A colour as 0xRRGGBB, or kAutoColor for "the view's default".
inline constexpr std::int32_t kAutoColor = -1;
inline constexpr int kDefaultFontSizeHalfPoints = 24;

// The character that stands for a picture inside a paragraph's text; the view
// uses the same character for its inline images.
inline constexpr char16_t kPictureCharacter = 0xFFFC;
// \line: a line break inside a paragraph, as the view writes it.
inline constexpr char16_t kLineBreakCharacter = 0x2028;
inline constexpr char16_t kTabCharacter = u'\t';

enum class TRichVerticalAlign : std::uint8_t { Normal, Superscript, Subscript };
enum class TRichAlignment : std::uint8_t { Left, Right, Center, Justify };

struct TRichCharFormat {
  int font = -1;  // index into TRichTextDocument::fonts; -1 the default font
  int sizeHalfPoints = kDefaultFontSizeHalfPoints;
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool strikeOut = false;
  TRichVerticalAlign verticalAlign = TRichVerticalAlign::Normal;
  std::int32_t foreground = kAutoColor;
  std::int32_t background = kAutoColor;
  int link = -1;  // index into TRichTextDocument::links

  bool operator==(const TRichCharFormat&) const = default;
};

// A stretch of a paragraph's text in one format. A picture is a run of one
// kPictureCharacter whose `picture` indexes TRichTextDocument::pictures.
struct TRichRun {
  int start = 0;
  int length = 0;
  TRichCharFormat format;
  int picture = -1;
};

// Measures in twips (1/1440 inch), as RTF writes them.
struct TRichParagraphFormat {
  TRichAlignment alignment = TRichAlignment::Left;
  int leftIndent = 0;
  int rightIndent = 0;
  int firstLineIndent = 0;
  int spaceBefore = 0;
  int spaceAfter = 0;
  bool pageBreakBefore = false;

  bool operator==(const TRichParagraphFormat&) const = default;
};

struct TRichParagraph {
  std::u16string text;
  std::vector<TRichRun> runs;  // cover `text` in order, without gaps
  TRichParagraphFormat format;
};

struct TRichTableCell {
  std::vector<TRichParagraph> paragraphs;  // never empty
  int rightEdge = 0;                       // twips from the row's left edge; 0 unknown
};

struct TRichTableRow {
  std::vector<TRichTableCell> cells;
};

// Every row has exactly `columnCount` cells: rows of another width go into a
// table of their own, because the view only knows rectangular tables.
struct TRichTable {
  std::vector<TRichTableRow> rows;
  int columnCount = 0;
};

using TRichBlock = std::variant<TRichParagraph, TRichTable>;

enum class TRichPictureKind : std::uint8_t { Png, Jpeg, Other };

struct TRichPicture {
  TRichPictureKind kind = TRichPictureKind::Other;
  std::string data;  // the picture file's bytes (PNG, JPEG; other kinds are not kept)
  int widthTwips = 0;   // shown size; 0 when the RTF gives none
  int heightTwips = 0;
};

// The target of a HYPERLINK field: an address, with "#anchor" for \l.
struct TRichLink {
  std::string url;  // UTF-8
};

struct TRichTextDocument {
  std::vector<TRichBlock> blocks;
  std::vector<std::u16string> fonts;  // family names
  int defaultFont = -1;
  std::vector<TRichPicture> pictures;
  std::vector<TRichLink> links;
  // Why the text is not the whole document ("" when it is): groups nested
  // past the reader's limit, or a body that is not Windows-1252 text.
  std::string damage;
};
