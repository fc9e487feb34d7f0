#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "LxDateTime.h"

// One entry of the document base, folder or document: one line of the index
// file. A fresh record is all zeros and empty texts.
struct TTOMORecordH {
  std::int32_t Id = 0;              // unique in the base; the root is 0
  std::string Title;
  std::string Summary;              // may hold line breaks
  std::int32_t ParentId = 0;        // -1 for the root
  TDateTime Changed = 0;            // when the entry itself last changed
  std::int32_t DocumentNumber = 0;  // 0: a folder without document
  std::int32_t DocumentSize = 0;    // bytes of the document file; 0 = not measured
  char Kind = 0;                    // 'T' rich text, 'B' bitmap, anything else a folder
  TDateTime DocumentDate = 0;       // whole days; 0 = not yet read
  TDateTime AuxDate = 0;
  TDateTime PublishedDate = 0;
  std::string AuxText;

  bool operator==(const TTOMORecordH&) const = default;
};

// Kinds of document an entry may have.
constexpr char kKindRichText = 'T';
constexpr char kKindBitmap = 'B';

// The record lines of the index file start with this character.
constexpr char kRecordLineMark = '.';

// Reads the comma list of a record line (the line without its leading full
// stop). Items fill the fields in file order: Id, ParentId, Title, Summary
// (unescaped), Changed, DocumentNumber, DocumentSize, Kind, DocumentDate,
// AuxDate, PublishedDate, AuxText; missing items leave zeros, items past the
// twelfth are ignored. Integers take decimal digits only ("-1" and "12a" read
// as 0). A date item that is not a date raises the date parser's error:
//   "5,0,Pasta,,01/02/2003"  gives  Id 5, ParentId 0, Title "Pasta",
//                                   Changed 01/02/2003, zeros elsewhere.
TTOMORecordH ParseRecordItems(std::string_view commaList);

// The full record line, leading full stop included. A folder (DocumentNumber
// 0) writes the first five fields only; a document all twelve:
//   .5,0,Pasta,,01/02/2003
//   .9,5,"Lei 10",a\\b\13\10c,"01/02/2003 10:20:30",9,0,T,01/02/2003,30/12/1899,30/12/1899,
// Line breaks in Title and AuxText (which are not escaped) become blanks, so
// that a record always stays on one line.
std::string FormatRecordLine(const TTOMORecordH& record);
// The same line appended to `line`, for a writer that reuses one buffer for
// every line of a large index.
void AppendRecordLine(std::string& line, const TTOMORecordH& record);
