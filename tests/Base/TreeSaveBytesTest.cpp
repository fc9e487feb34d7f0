// The index writer takes shortcuts for speed (texts scanned in blocks, dates
// written digit by digit, lines collected in blocks); the file it writes must
// stay byte for byte what the plain composition of the format's rules gives,
// here written out the slow, obvious way.

#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "BaseGenerator.h"
#include "IndexFileTestSupport.h"
#include "TOMOIndexFormat.h"
#include "TOMORecord.h"
#include "TOMOTree.h"

namespace {

std::string PlainItem(const std::string& item) {
  bool quoted = false;
  for (unsigned char c : item) quoted |= c <= 32 || c == ',' || c == '"';
  if (!quoted) return item;
  std::string text = "\"";
  for (char c : item) text += c == '"' ? std::string("\"\"") : std::string(1, c);
  return text + "\"";
}

std::string PlainOneLine(std::string text) {
  for (char& c : text) {
    if (c == '\r' || c == '\n' || c == '\0') c = ' ';
  }
  return text;
}

std::string PlainEscape(const std::string& text) {
  std::string escaped;
  char code[8];
  for (unsigned char c : text) {
    if (c < 32) {
      std::snprintf(code, sizeof code, "\\%02d", c);
      escaped += code;
    } else {
      escaped += c == '\\' ? std::string("\\\\") : std::string(1, static_cast<char>(c));
    }
  }
  return escaped;
}

std::string PlainDate(TDateTime value) {
  const TDateParts p = DecodeDateTime(value);
  char text[64];
  std::snprintf(text, sizeof text, "%02d/%02d/%04d", p.Day, p.Month, p.Year);
  std::string date = text;
  if (p.Hour != 0 || p.Minute != 0 || p.Second != 0) {
    std::snprintf(text, sizeof text, " %02d:%02d:%02d", p.Hour, p.Minute, p.Second);
    date += text;
  }
  return date;
}

std::string PlainRecordLine(const TTOMORecordH& r) {
  std::string line = "." + std::to_string(r.Id) + "," + std::to_string(r.ParentId) + "," +
                     PlainItem(PlainOneLine(r.Title)) + "," + PlainItem(PlainEscape(r.Summary)) + "," +
                     PlainItem(PlainDate(r.Changed));
  if (r.DocumentNumber == 0) return line;
  line += "," + std::to_string(r.DocumentNumber) + "," + std::to_string(r.DocumentSize) + ",";
  if (r.Kind != 0) line += PlainItem(PlainOneLine(std::string(1, r.Kind)));
  for (TDateTime date : {r.DocumentDate, r.AuxDate, r.PublishedDate}) line += "," + PlainItem(PlainDate(date));
  return line + "," + PlainItem(PlainOneLine(r.AuxText));
}

// Every kind of field text, several crossing the 16-byte blocks of the scans.
const std::vector<std::string> kTexts = {
    "", "Pasta", "a,b", "diz \"x\"", "linha\r\nquebra", std::string("nu\0l", 4), "caf\xE9 \xE7\xE3o \x80\xFF",
    "\\", "a\\b\r\nc", "\t\x01\x1F", std::string(37, 'x') + "\"" + std::string(20, 'y'),
    std::string(48, 'z') + "\x7F,", std::string(33, 'w') + "\\09\n",
};
const std::vector<TDateTime> kDates = {
    0, -1.25, 45658.75, 45658.0, 45658.999999999, EncodeDate(9999, 12, 31) + EncodeTime(23, 59, 59),
    EncodeDate(1, 1, 1), 5e6, -700000.5, EncodeDate(2003, 2, 1) + EncodeTime(0, 0, 1)};
const std::vector<std::int32_t> kNumbers = {0, 7, -1, INT_MIN, INT_MAX, 123456};
const std::vector<char> kKinds = {0, 'T', 'B', '\r', '"', ',', ' ', '\xE9', '\n'};

TTOMORecordH EdgeRecord(std::size_t i) {
  TTOMORecordH r;
  r.Id = 1'000'000 + static_cast<std::int32_t>(i);
  r.ParentId = 0;
  r.Title = kTexts[i % kTexts.size()];
  r.Summary = kTexts[(i * 5 + 3) % kTexts.size()];
  r.Changed = kDates[i % kDates.size()];
  r.DocumentNumber = i % 4 == 0 ? 0 : kNumbers[(i * 7) % kNumbers.size()] | 1;
  r.DocumentSize = kNumbers[i % kNumbers.size()];
  r.Kind = kKinds[i % kKinds.size()];
  r.DocumentDate = kDates[(i * 3 + 1) % kDates.size()];
  r.AuxDate = kDates[(i * 7 + 2) % kDates.size()];
  r.PublishedDate = kDates[(i + 5) % kDates.size()];
  r.AuxText = kTexts[(i * 11 + 1) % kTexts.size()];
  return r;
}

constexpr std::size_t kEdgeRecords = 400;

}  // namespace

TEST(RecordLine, EveryFieldKindIsWrittenAsThePlainRulesWriteIt) {
  for (std::size_t i = 0; i < kEdgeRecords; ++i) {
    const TTOMORecordH record = EdgeRecord(i);
    ASSERT_EQ(FormatRecordLine(record), PlainRecordLine(record)) << "record " << i;
  }
}

// A generated base (escapes, dates with and without time, high bytes) with
// the edge records added: the saved file, several blocks long, is the
// signature, the comments and the plain lines in pre-order.
TEST(TreeSaving, TheSavedFileIsByteForByteThePlainComposition) {
  TempFolder temp;
  TBaseGeneratorOptions options;
  options.Entries = 3000;
  options.Documents = 300;
  options.Seed = 7;
  GenerateBase(temp.Path().string(), options);
  TTOMOTree tree(temp.Path().string());
  for (std::size_t i = 0; i < kEdgeRecords; ++i) tree.AddNode(EdgeRecord(i));
  tree.SaveToFile(temp.Path().string());

  std::string expected = IndexSignature() + "\r\n";
  for (const std::string& line : IndexCommentBlock()) expected += line + "\r\n";
  for (auto it = tree.Iterator(); !it.Eof(); it.Next()) {
    TTOMORecordH record = it.Current()->Record();
    if (it.Current() == tree.Root()) record.ParentId = -1;
    expected += PlainRecordLine(record) + "\r\n";
  }
  std::ifstream file(temp.Path() / "TOMOIdx.dat", std::ios::binary);
  const std::string written((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  EXPECT_GT(written.size(), 512u * 1024u);
  EXPECT_TRUE(written == expected) << "sizes " << written.size() << " and " << expected.size();
}
