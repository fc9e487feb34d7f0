#include "RichTextBuilder.h"

#include <algorithm>
#include <iterator>
#include <utility>

#include "RtfCodePages.h"

namespace {

constexpr char16_t kReplacement = 0xFFFD;
constexpr char16_t kParagraphSeparator = 0x2029;
constexpr char16_t kFrameStart = 0xFDD0;
constexpr char16_t kFrameEnd = 0xFDD1;
// Invisible, and QTextDocument drops it where a run of text begins.
constexpr char16_t kByteOrderMark = 0xFEFF;

// Cells past this are folded into the row's last cell; no document needs more
// and the view lays a table out in time that grows with its width.
constexpr size_t kMaxTableColumns = 64;

bool IsStructural(char16_t unit) {
  return unit == kLineBreakCharacter || unit == kParagraphSeparator || unit == kFrameStart ||
         unit == kFrameEnd || unit == kPictureCharacter;
}

}  // namespace

TRichTextBuilder::TRichTextBuilder() = default;

void TRichTextBuilder::AppendBytes(std::string_view bytes, int codePage,
                                   const TRichCharFormat& format) {
  const size_t before = paragraph_.text.size();
  for (char byte : bytes) {
    const auto code = static_cast<unsigned char>(byte);
    if (code >= 0x20 && code < 0x80) {
      paragraph_.text.push_back(code);
    } else {
      AppendSanitized(DecodeCodePageByte(codePage, code));
    }
  }
  ExtendRun(static_cast<int>(paragraph_.text.size() - before), format);
}

void TRichTextBuilder::AppendUnit(char16_t unit, const TRichCharFormat& format) {
  const size_t before = paragraph_.text.size();
  AppendSanitized(unit);
  ExtendRun(static_cast<int>(paragraph_.text.size() - before), format);
}

void TRichTextBuilder::AppendBreak(char16_t breakCharacter, const TRichCharFormat& format) {
  paragraph_.text.push_back(breakCharacter);
  ExtendRun(1, format);
}

void TRichTextBuilder::AppendPicture(TRichPicture picture, const TRichCharFormat& format) {
  document_.pictures.push_back(std::move(picture));
  paragraph_.text.push_back(kPictureCharacter);
  ExtendRun(1, format, static_cast<int>(document_.pictures.size() - 1));
}

void TRichTextBuilder::AppendSanitized(char16_t unit) {
  if (unit == kTabCharacter) {
    paragraph_.text.push_back(unit);
  } else if (unit < 0x20 || unit == kByteOrderMark) {
    return;
  } else {
    paragraph_.text.push_back(IsStructural(unit) ? kReplacement : unit);
  }
}

void TRichTextBuilder::ExtendRun(int length, const TRichCharFormat& format, int picture) {
  if (length == 0) return;
  std::vector<TRichRun>& runs = paragraph_.runs;
  if (picture < 0 && !runs.empty() && runs.back().picture < 0 && runs.back().format == format) {
    runs.back().length += length;
    return;
  }
  const int start = static_cast<int>(paragraph_.text.size()) - length;
  runs.push_back(TRichRun{start, length, format, picture});
}

TRichParagraph TRichTextBuilder::TakeParagraph(const TRichParagraphFormat& format) {
  TRichParagraph paragraph = std::exchange(paragraph_, TRichParagraph{});
  paragraph.format = format;
  paragraph.format.pageBreakBefore |= std::exchange(nextStartsPage_, false);
  return paragraph;
}

void TRichTextBuilder::EndParagraph(const TRichParagraphFormat& format, bool inTable) {
  if (inTable) {
    cell_.paragraphs.push_back(TakeParagraph(format));
    cellOpen_ = true;
    return;
  }
  FinishTable();
  document_.blocks.emplace_back(TakeParagraph(format));
}

void TRichTextBuilder::EndPage(const TRichParagraphFormat& format, bool inTable) {
  EndParagraph(format, inTable);
  nextStartsPage_ = true;
}

void TRichTextBuilder::EndCell(const TRichParagraphFormat& format) {
  cell_.paragraphs.push_back(TakeParagraph(format));
  CloseCell();
}

void TRichTextBuilder::CloseCell() {
  if (row_.cells.size() < kMaxTableColumns) {
    row_.cells.push_back(std::exchange(cell_, TRichTableCell{}));
  } else {
    std::vector<TRichParagraph>& last = row_.cells.back().paragraphs;
    std::move(cell_.paragraphs.begin(), cell_.paragraphs.end(), std::back_inserter(last));
    cell_ = TRichTableCell{};
  }
  cellOpen_ = false;
}

void TRichTextBuilder::EndRow(const TRichRowFormat& format, const std::vector<TRichCellFormat>& cells) {
  // Text between the last \cell and \row has no cell of its own: give it one.
  if (cellOpen_ || !paragraph_.text.empty()) EndCell(TRichParagraphFormat{});
  FileRow(format, cells);
}

void TRichTextBuilder::FileRow(const TRichRowFormat& format, const std::vector<TRichCellFormat>& cells) {
  if (row_.cells.empty()) return;
  row_.format = format;
  const size_t defined = std::min(cells.size(), row_.cells.size());
  for (size_t i = 0; i < defined; ++i) row_.cells[i].format = cells[i];
  const int columns = static_cast<int>(row_.cells.size());
  if (columns != table_.columnCount) FileTable();
  table_.columnCount = columns;
  table_.rows.push_back(std::exchange(row_, TRichTableRow{}));
}

void TRichTextBuilder::FileTable() {
  if (table_.rows.empty()) return;
  document_.blocks.emplace_back(std::exchange(table_, TRichTable{}));
}

// The open paragraph, if any, lies outside the table and stays open.
void TRichTextBuilder::FinishTable() {
  if (cellOpen_) CloseCell();
  FileRow({}, {});
  FileTable();
}

TRichTextDocument TRichTextBuilder::Finish(const TRichParagraphFormat& format, bool inTable) {
  if (!paragraph_.text.empty()) EndParagraph(format, inTable);
  FinishTable();
  return std::move(document_);
}

TRichTextDocument ReadPlainTextBody(std::string_view text) {
  TRichTextBuilder builder;
  const TRichCharFormat format;
  const TRichParagraphFormat paragraph;
  size_t lineStart = 0;
  for (size_t pos = 0; pos < text.size(); ++pos) {
    if (text[pos] != '\r' && text[pos] != '\n') continue;
    builder.AppendBytes(text.substr(lineStart, pos - lineStart), kDefaultRtfCodePage, format);
    builder.EndParagraph(paragraph, false);
    if (text[pos] == '\r' && pos + 1 < text.size() && text[pos + 1] == '\n') ++pos;
    lineStart = pos + 1;
  }
  builder.AppendBytes(text.substr(lineStart), kDefaultRtfCodePage, format);
  return builder.Finish(paragraph, false);
}
