#include "TOMORecord.h"

#include <charconv>
#include <iterator>
#include <limits>

#include "CommaList.h"
#include "LxText.h"
#include "TextEscape.h"

namespace {

constexpr char kItemSeparator = ',';

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

// Two digits at `at`, or -1.
int TwoDigits(std::string_view text, size_t at) {
  const char tens = text[at], units = text[at + 1];
  if (tens < '0' || tens > '9' || units < '0' || units > '9') return -1;
  return (tens - '0') * 10 + (units - '0');
}

// The form the writer uses, "dd/mm/yyyy" or "dd/mm/yyyy hh:nn:ss" with a
// day that every month has, is read here directly; every other text goes to
// the general parser, which also reports the errors. Index files hold
// hundreds of thousands of dates.
TDateTime ParseDateTime(std::string_view item) {
  constexpr size_t kDateLength = 10, kDateTimeLength = 19;
  constexpr int kDaysOfEveryMonth = 28;
  const bool dateShape = (item.size() == kDateLength || item.size() == kDateTimeLength) && item[2] == '/' &&
                         item[5] == '/';
  if (!dateShape) return StrToDateTime(item);
  const int day = TwoDigits(item, 0), month = TwoDigits(item, 3);
  const int century = TwoDigits(item, 6), year = TwoDigits(item, 8);
  const bool simpleDate = day >= 1 && day <= kDaysOfEveryMonth && month >= 1 && month <= 12 && century >= 1 &&
                          year >= 0;
  if (!simpleDate) return StrToDateTime(item);
  const TDateTime date = EncodeDate(century * 100 + year, month, day);
  if (item.size() == kDateLength) return date;
  if (item[10] != ' ' || item[13] != ':' || item[16] != ':') return StrToDateTime(item);
  const int hour = TwoDigits(item, 11), minute = TwoDigits(item, 14), second = TwoDigits(item, 17);
  if (hour < 0 || hour >= 24 || minute < 0 || minute >= 60 || second < 0 || second >= 60) return StrToDateTime(item);
  return CombineDateAndTime(date, EncodeTime(hour, minute, second));
}

void StoreItem(TTOMORecordH& record, int index, std::string_view item) {
  switch (index) {
    case kItemId: record.Id = ParseCount(item); break;
    case kItemParentId: record.ParentId = ParseCount(item); break;
    case kItemTitle: record.Title.assign(item); break;
    case kItemSummary:
      if (item.find('\\') == std::string_view::npos) {
        record.Summary.assign(item);
      } else {
        record.Summary = UnescapeText(item);
      }
      break;
    case kItemChanged: record.Changed = ParseDateTime(item); break;
    case kItemDocumentNumber: record.DocumentNumber = ParseCount(item); break;
    case kItemDocumentSize: record.DocumentSize = ParseCount(item); break;
    case kItemKind: record.Kind = item.empty() ? 0 : item.front(); break;
    case kItemDocumentDate: record.DocumentDate = ParseDateTime(item); break;
    case kItemAuxDate: record.AuxDate = ParseDateTime(item); break;
    case kItemPublishedDate: record.PublishedDate = ParseDateTime(item); break;
    case kItemAuxText: record.AuxText.assign(item); break;
    default: break;
  }
}

void AppendNumber(std::string& line, std::int32_t value) {
  char digits[std::numeric_limits<std::int32_t>::digits10 + 2];
  const auto written = std::to_chars(std::begin(digits), std::end(digits), value);
  line.append(digits, written.ptr);
}

constexpr auto kBreaksTheLine = [](unsigned char c) -> unsigned char {
  return (c == '\r' ? 1 : 0) | (c == '\n' ? 1 : 0) | (c == '\0' ? 1 : 0);
};

// Title and AuxText are written unescaped; a line break or a NUL inside them
// would cut the record, so they are written as blanks.
void AppendOneLineItem(std::string& line, std::string_view text) {
  if (!LxAnyByte(text, kBreaksTheLine)) {
    AppendCommaItem(line, text);
    return;
  }
  std::string oneLine(text);
  for (char& c : oneLine) {
    if (kBreaksTheLine(static_cast<unsigned char>(c))) c = ' ';
  }
  AppendCommaItem(line, oneLine);
}

void AppendSummaryItem(std::string& line, std::string_view summary) {
  if (NeedsEscape(summary)) {
    AppendCommaItem(line, EscapeText(summary));
  } else {
    AppendCommaItem(line, summary);
  }
}

void AppendDateItem(std::string& line, TDateTime value) {
  const std::size_t start = line.size();
  AppendDateTimeText(line, value);
  // A date with a time of day holds a blank and is quoted.
  QuoteAppendedCommaItem(line, start);
}

}  // namespace

TTOMORecordH ParseRecordItems(std::string_view commaList) {
  TTOMORecordH record;
  TCommaListReader reader(commaList);
  std::string_view item;
  for (int index = 0; index < kRecordItemCount && reader.Next(item); ++index) {
    StoreItem(record, index, item);
  }
  return record;
}

void AppendRecordLine(std::string& line, const TTOMORecordH& record) {
  line += kRecordLineMark;
  AppendNumber(line, record.Id);
  line += kItemSeparator;
  AppendNumber(line, record.ParentId);
  line += kItemSeparator;
  AppendOneLineItem(line, record.Title);
  line += kItemSeparator;
  AppendSummaryItem(line, record.Summary);
  line += kItemSeparator;
  AppendDateItem(line, record.Changed);
  if (record.DocumentNumber == 0) return;
  line += kItemSeparator;
  AppendNumber(line, record.DocumentNumber);
  line += kItemSeparator;
  AppendNumber(line, record.DocumentSize);
  line += kItemSeparator;
  // A Kind of code 0 is written as the empty item, which reads back as 0; the
  // character itself would end the line for the reader.
  if (record.Kind != 0) AppendOneLineItem(line, std::string_view(&record.Kind, 1));
  for (const TDateTime date : {record.DocumentDate, record.AuxDate, record.PublishedDate}) {
    line += kItemSeparator;
    AppendDateItem(line, date);
  }
  line += kItemSeparator;
  AppendOneLineItem(line, record.AuxText);
}

std::string FormatRecordLine(const TTOMORecordH& record) {
  std::string line;
  AppendRecordLine(line, record);
  return line;
}
