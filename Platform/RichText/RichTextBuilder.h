#pragma once

#include <string_view>
#include <vector>

#include "RichTextModel.h"

// Assembles a TRichTextDocument from a stream of text and structure events:
// text goes into the open paragraph; a paragraph end files it into the body
// or, inside a table, into the open cell; cell and row ends build the table,
// which is filed once a paragraph outside it ends (or the document does).
// A row with another number of cells than the rows before it starts a new
// table: the view only knows rectangular tables, and padding short rows
// would let a few bytes of input ask for rows x columns cells.
//
// Text is cleaned on the way in: characters that the view would take for
// structure (CR, LF, U+2028/2029, the frame marks U+FDD0/FDD1, U+FFFC) or
// controls are not plain text, so a stray one in the input cannot break the
// one-character-per-position rule between the plain text and the view.
// Control characters and U+FEFF are dropped; the structural ones become
// U+FFFD.
class TRichTextBuilder {
 public:
  TRichTextBuilder();

  // Bytes in a single-byte code page.
  void AppendBytes(std::string_view bytes, int codePage, const TRichCharFormat& format);
  // One UTF-16 code unit from the input (\uN); surrogate halves come one by one.
  void AppendUnit(char16_t unit, const TRichCharFormat& format);
  // A tab or line break that the input asked for.
  void AppendBreak(char16_t breakCharacter, const TRichCharFormat& format);
  void AppendPicture(TRichPicture picture, const TRichCharFormat& format);

  void EndParagraph(const TRichParagraphFormat& format, bool inTable);
  // \page: the paragraph ends and the next one starts a new page.
  void EndPage(const TRichParagraphFormat& format, bool inTable);
  void EndCell(const TRichParagraphFormat& format);
  // `cells` are the row definition's cells in order, as far as it gave them.
  void EndRow(const TRichRowFormat& format, const std::vector<TRichCellFormat>& cells);

  TRichTextDocument& Document() { return document_; }
  // Files what is still open and hands the document over.
  TRichTextDocument Finish(const TRichParagraphFormat& format, bool inTable);

 private:
  void AppendSanitized(char16_t unit);
  void ExtendRun(int length, const TRichCharFormat& format, int picture = -1);
  TRichParagraph TakeParagraph(const TRichParagraphFormat& format);
  void CloseCell();
  void FileRow(const TRichRowFormat& format, const std::vector<TRichCellFormat>& cells);
  void FileTable();
  void FinishTable();

  TRichTextDocument document_;
  TRichParagraph paragraph_;
  bool nextStartsPage_ = false;
  TRichTableCell cell_;
  bool cellOpen_ = false;
  TRichTableRow row_;
  TRichTable table_;
};

// The plain text that a non-RTF body shows: Windows-1252 lines, each line
// end (CR LF, LF or CR) closing a paragraph.
TRichTextDocument ReadPlainTextBody(std::string_view text);
