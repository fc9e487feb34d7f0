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

enum class TRichTabKind : std::uint8_t { Left, Center, Right, Decimal };

// A tab stop, in twips from the left edge of the paragraph's column (the
// page's text margin, or a cell's text area), not from its indent.
struct TRichTabStop {
  int position = 0;
  TRichTabKind kind = TRichTabKind::Left;

  bool operator==(const TRichTabStop&) const = default;
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
  std::vector<TRichTabStop> tabs;  // in increasing position

  bool operator==(const TRichParagraphFormat&) const = default;
};

struct TRichParagraph {
  std::u16string text;
  std::vector<TRichRun> runs;  // cover `text` in order, without gaps
  TRichParagraphFormat format;
};

enum class TRichBorderStyle : std::uint8_t { None, Single, Double, Dotted, Dashed };

struct TRichBorder {
  TRichBorderStyle style = TRichBorderStyle::None;
  int widthTwips = 0;
  std::int32_t color = kAutoColor;

  bool operator==(const TRichBorder&) const = default;
};

enum class TRichCellAlignment : std::uint8_t { Top, Center, Bottom };

// Inner margins of a cell in twips; kUnsetPadding lets the row decide.
inline constexpr int kUnsetPadding = -1;

// How a row's definition (\trowd ... \cellx) draws one cell.
struct TRichCellFormat {
  int rightEdge = 0;  // twips from the text margin, as \cellx gives it; 0 unknown
  TRichBorder top, left, bottom, right;
  TRichCellAlignment verticalAlignment = TRichCellAlignment::Top;
  std::int32_t background = kAutoColor;
  int paddingLeft = kUnsetPadding;
  int paddingRight = kUnsetPadding;
  int paddingTop = kUnsetPadding;
  int paddingBottom = kUnsetPadding;

  bool operator==(const TRichCellFormat&) const = default;
};

struct TRichTableCell {
  std::vector<TRichParagraph> paragraphs;  // never empty
  TRichCellFormat format;
};

struct TRichRowFormat {
  int leftEdge = 0;        // \trleft: where the first cell starts, twips from the text margin
  int halfGap = 0;         // \trgaph: each cell's inner margin left and right
  int paddingLeft = kUnsetPadding;   // \trpaddl, \trpaddr: the row's inner margins, over halfGap
  int paddingRight = kUnsetPadding;
  TRichAlignment alignment = TRichAlignment::Left;  // Left, Center or Right

  bool operator==(const TRichRowFormat&) const = default;
};

struct TRichTableRow {
  std::vector<TRichTableCell> cells;
  TRichRowFormat format;
};

// Every row has exactly `columnCount` cells: rows of another width go into a
// table of their own, because the view only knows rectangular tables.
struct TRichTable {
  std::vector<TRichTableRow> rows;
  int columnCount = 0;
};

using TRichBlock = std::variant<TRichParagraph, TRichTable>;

// Png, Jpeg and Bitmap hold a file the view decodes (Bitmap: a BMP file made
// from the RTF's device-independent bitmap); Metafile and Other are shown
// blank at their declared size.
enum class TRichPictureKind : std::uint8_t { Png, Jpeg, Bitmap, Metafile, Other };

struct TRichPicture {
  TRichPictureKind kind = TRichPictureKind::Other;
  std::string data;  // the picture file's bytes (only for the kinds the view decodes)
  int widthTwips = 0;   // shown size; 0 when the RTF gives none
  int heightTwips = 0;
};

// The target of a HYPERLINK field: an address, with "#anchor" for \l.
struct TRichLink {
  std::string url;  // UTF-8
};

inline constexpr int kDefaultTabTwips = 720;  // RTF's default: half an inch

struct TRichTextDocument {
  std::vector<TRichBlock> blocks;
  int defaultTabTwips = kDefaultTabTwips;  // \deftab: the distance between default tab stops
  std::vector<std::u16string> fonts;  // family names
  int defaultFont = -1;
  std::vector<TRichPicture> pictures;
  std::vector<TRichLink> links;
  // Why the text is not the whole document ("" when it is): groups nested
  // past the reader's limit, or a body that is not Windows-1252 text.
  std::string damage;
};
