#pragma once

#include <cstdint>
#include <string_view>

// The control words the reader acts on. Every other word is ignored, as RTF
// asks of readers; after \* an unknown word makes its whole group skipped.
enum class TRtfWord : std::uint8_t {
  Unknown,
  // document and code pages
  Rtf, Ansi, Mac, Pc, Pca, AnsiCodePage, DefaultFont, DefaultTab,
  // destinations whose text is not part of the body
  SkippedDestination, FontTable, ColorTable,
  // destinations that are read
  ListText, ShapePicture, NonShapePicture,
  Field, FieldInstruction, FieldResult,
  Picture,
  // font and colour tables
  FontCharset, FontCodePage, Red, Green, Blue,
  // text and breaks
  Par, Line, Tab, Page, Sect, Cell, Row, NestedCell,
  Unicode, UnicodeSkip, Binary,
  EmDash, EnDash, Bullet, LeftQuote, RightQuote, LeftDoubleQuote, RightDoubleQuote,
  EmSpace, EnSpace, QuarterEmSpace, ZeroWidth,
  // character formats
  Plain, Font, FontSize, Bold, Italic, Underline, UnderlineNone, Strike,
  ForegroundColor, BackgroundColor, Highlight, Superscript, Subscript, NoSuperSub,
  Up, Down, Hidden,
  // paragraph formats
  Pard, AlignLeft, AlignRight, AlignCenter, AlignJustify,
  LeftIndent, RightIndent, FirstIndent, SpaceBefore, SpaceAfter, InTable, PageBreakBefore,
  TabPosition, TabCenter, TabRight, TabDecimal,
  // tables: the row, its cells, and the borders of cells (the others are read and dropped)
  RowDefaults, CellRightEdge, RowLeft, RowHalfGap, RowPaddingLeft, RowPaddingRight,
  RowAlignLeft, RowAlignCenter, RowAlignRight,
  CellBorderTop, CellBorderLeft, CellBorderBottom, CellBorderRight, OtherBorder,
  CellAlignTop, CellAlignCenter, CellAlignBottom, CellBackground, CellPaddingLeft, CellPaddingRight,
  BorderNone, BorderSingle, BorderDouble, BorderDotted, BorderDashed, BorderWidth, BorderColor,
  // pictures
  PngBlip, JpegBlip, DibBitmap, Metafile, PictureWidthGoal, PictureHeightGoal, PictureScaleX, PictureScaleY,
  PictureWidth, PictureHeight,
};

// "b" gives TRtfWord::Bold, "fonttbl" FontTable, "header" SkippedDestination,
// "frobnicate" Unknown. Names compare exactly (RTF is case-sensitive).
TRtfWord FindRtfWord(std::string_view name);
