#include "Base/TOMORecord.h"

#include <limits>

#include "Base/CommaList.h"
#include "Base/TextEscape.h"

namespace {

// Position of each field in a record line's comma list.
enum RecordItem {
  kItemId,
  kItemParentId,
  kItemTitle,
  kItemSummary,
  kItemChanged,
  kItemDocumentNumber,
  kItemDocumentSize,
  kItemKind,
  kItemDocumentDate,
  kItemAuxDate,
  kItemPublishedDate,
  kItemAuxText,
  kRecordItemCount
};

// Digits only; anything else, or a value beyond 32 bits, counts as 0.
std::int32_t ParseCount(std::string_view item) {
  std::int64_t value = 0;
  for (char c : item) {
    if (c < '0' || c > '9') return 0;
    value = value * 10 + (c - '0');
    if (value > std::numeric_limits<std::int32_t>::max()) return 0;
  }
  return static_cast<std::int32_t>(value);
}

void StoreItem(TTOMORecordH& record, int index, std::string& item) {
  switch (index) {
    case kItemId: record.Id = ParseCount(item); break;
    case kItemParentId: record.ParentId = ParseCount(item); break;
    case kItemTitle: record.Title = std::move(item); break;
    case kItemSummary: record.Summary = UnescapeText(item); break;
    case kItemChanged: record.Changed = StrToDateTime(item); break;
    case kItemDocumentNumber: record.DocumentNumber = ParseCount(item); break;
    case kItemDocumentSize: record.DocumentSize = ParseCount(item); break;
    case kItemKind: record.Kind = item.empty() ? 0 : item.front(); break;
    case kItemDocumentDate: record.DocumentDate = StrToDateTime(item); break;
    case kItemAuxDate: record.AuxDate = StrToDateTime(item); break;
    case kItemPublishedDate: record.PublishedDate = StrToDateTime(item); break;
    case kItemAuxText: record.AuxText = std::move(item); break;
    default: break;
  }
}

// Title and AuxText are written unescaped; a line break or a NUL inside them
// would cut the record, so they are written as blanks.
std::string OneLine(std::string_view text) {
  std::string line(text);
  for (char& c : line) {
    if (c == '\r' || c == '\n' || c == '\0') c = ' ';
  }
  return line;
}

void AppendItem(std::string& line, std::string_view item) {
  line += ',';
  AppendCommaItem(line, item);
}

}  // namespace

TTOMORecordH ParseRecordItems(std::string_view commaList) {
  TTOMORecordH record;
  TCommaListReader reader(commaList);
  std::string item;
  for (int index = 0; index < kRecordItemCount && reader.Next(item); ++index) {
    StoreItem(record, index, item);
  }
  return record;
}

std::string FormatRecordLine(const TTOMORecordH& record) {
  std::string line(1, kRecordLineMark);
  line += std::to_string(record.Id);
  AppendItem(line, std::to_string(record.ParentId));
  AppendItem(line, OneLine(record.Title));
  AppendItem(line, EscapeText(record.Summary));
  AppendItem(line, DateTimeToStr(record.Changed));
  if (record.DocumentNumber == 0) return line;
  AppendItem(line, std::to_string(record.DocumentNumber));
  AppendItem(line, std::to_string(record.DocumentSize));
  // A Kind of code 0 is written as the empty item, which reads back as 0; the
  // character itself would end the line for the reader.
  AppendItem(line, record.Kind == 0 ? std::string() : OneLine(std::string(1, record.Kind)));
  AppendItem(line, DateTimeToStr(record.DocumentDate));
  AppendItem(line, DateTimeToStr(record.AuxDate));
  AppendItem(line, DateTimeToStr(record.PublishedDate));
  AppendItem(line, OneLine(record.AuxText));
  return line;
}
