// The text forms of one index line: the comma list, the Summary escape and the
// record's fields.

#include <gtest/gtest.h>

#include "CommaList.h"
#include "LxCodePage.h"
#include "LxExcept.h"
#include "TOMORecord.h"
#include "TextEscape.h"

using Items = std::vector<std::string>;

TEST(CommaList, QuotesOnlyItemsThatNeedIt) {
  EXPECT_EQ(JoinCommaList({"5", "0", "Lei 1,2", ""}), "5,0,\"Lei 1,2\",");
  EXPECT_EQ(JoinCommaList({"diz \"x\""}), "\"diz \"\"x\"\"\"");
  EXPECT_EQ(JoinCommaList({"a\tb"}), "\"a\tb\"");
  EXPECT_EQ(JoinCommaList({""}), "\"\"");
  EXPECT_EQ(JoinCommaList({"", ""}), ",");
  EXPECT_EQ(JoinCommaList({Utf8ToWin1252("Ação")}), Utf8ToWin1252("Ação"));
}

TEST(CommaList, ReadsBlanksQuotesAndEmptyItems) {
  EXPECT_EQ(SplitCommaList("a, \"b c\" ,,d,"), (Items{"a", "b c", "", "d"}));
  EXPECT_EQ(SplitCommaList("x y"), (Items{"x", "y"}));
  EXPECT_EQ(SplitCommaList("  \t a"), (Items{"a"}));
  EXPECT_EQ(SplitCommaList("\"\""), (Items{""}));
  EXPECT_EQ(SplitCommaList(""), Items{});
  EXPECT_EQ(SplitCommaList(",,"), (Items{"", ""}));
}

TEST(CommaList, ToleratesDamagedQuotingAndNul) {
  EXPECT_EQ(SplitCommaList("\"open ended"), (Items{"open ended"}));
  EXPECT_EQ(SplitCommaList("\"ab\"cd,e"), (Items{"ab", "cd", "e"}));
  EXPECT_EQ(SplitCommaList(std::string("a,b\0,c", 6)), (Items{"a", "b"}));
  EXPECT_EQ(SplitCommaList("\""), (Items{""}));
}

TEST(CommaList, RoundTripsAwkwardItems) {
  const Items items = {"plain", "with, comma", "\"quoted\"", "tab\there", "", "x", "\"\"", " lead"};
  EXPECT_EQ(SplitCommaList(JoinCommaList(items)), items);
}

TEST(TextEscape, EscapesControlsAndBackslash) {
  EXPECT_EQ(EscapeText("a\\b\r\nc"), "a\\\\b\\13\\10c");
  EXPECT_EQ(EscapeText("\t"), "\\09");
  EXPECT_EQ(EscapeText(std::string(1, '\0')), "\\00");
  EXPECT_EQ(EscapeText(Utf8ToWin1252("ç")), Utf8ToWin1252("ç"));
}

TEST(TextEscape, UnescapeReversesEveryByte) {
  std::string all;
  for (int code = 0; code < 256; ++code) all += static_cast<char>(code);
  EXPECT_EQ(UnescapeText(EscapeText(all)), all);
  EXPECT_EQ(UnescapeText("a\\\\b\\13\\10c"), "a\\b\r\nc");
}

TEST(TextEscape, UnescapeToleratesDamagedEscapes) {
  EXPECT_EQ(UnescapeText("\\7x"), std::string("\x07x"));
  EXPECT_EQ(UnescapeText("\\q65"), "A");  // the stray q is dropped, the escape stays open
  EXPECT_EQ(UnescapeText("\\q\\x"), "\\x");
  EXPECT_EQ(UnescapeText("ab\\"), "ab");
  EXPECT_EQ(UnescapeText("ab\\1"), "ab");
}

TEST(RecordLine, ReadsAFolderLine) {
  const TTOMORecordH record = ParseRecordItems("5,0,Pasta,,01/02/2003");
  EXPECT_EQ(record.Id, 5);
  EXPECT_EQ(record.ParentId, 0);
  EXPECT_EQ(record.Title, "Pasta");
  EXPECT_EQ(record.Summary, "");
  EXPECT_EQ(record.Changed, EncodeDate(2003, 2, 1));
  EXPECT_EQ(record.DocumentNumber, 0);
  EXPECT_EQ(record.Kind, 0);
  EXPECT_EQ(record.PublishedDate, 0);
}

TEST(RecordLine, IntegersAreDigitsOnly) {
  EXPECT_EQ(ParseRecordItems("5,-1").ParentId, 0);
  EXPECT_EQ(ParseRecordItems("+5").Id, 0);
  EXPECT_EQ(ParseRecordItems("12a").Id, 0);
  EXPECT_EQ(ParseRecordItems("99999999999").Id, 0);
  EXPECT_EQ(ParseRecordItems("2147483647").Id, 2147483647);
}

TEST(RecordLine, ReadsADocumentLineAndIgnoresExtraItems) {
  const TTOMORecordH record = ParseRecordItems(
      "9,5,\"Lei 10, de 2003\",\"a\\\\b\\13\\10c\",\"01/02/2003 10:20:30\",77,1234,Texto,"
      "03/03/2004,04/04/2004,05/05/2005,aux,extra,more");
  EXPECT_EQ(record.Title, "Lei 10, de 2003");
  EXPECT_EQ(record.Summary, "a\\b\r\nc");
  EXPECT_EQ(record.Changed, EncodeDate(2003, 2, 1) + EncodeTime(10, 20, 30));
  EXPECT_EQ(record.DocumentNumber, 77);
  EXPECT_EQ(record.DocumentSize, 1234);
  EXPECT_EQ(record.Kind, 'T');
  EXPECT_EQ(record.DocumentDate, EncodeDate(2004, 3, 3));
  EXPECT_EQ(record.AuxDate, EncodeDate(2004, 4, 4));
  EXPECT_EQ(record.PublishedDate, EncodeDate(2005, 5, 5));
  EXPECT_EQ(record.AuxText, "aux");
}

TEST(RecordLine, ABadDateRaisesTheDateError) {
  try {
    ParseRecordItems("5,0,Pasta,,31/02/2003");
    FAIL() << "no error";
  } catch (const ELxException& error) {
    EXPECT_EQ(error.Message(), "'31/02/2003' não é uma data e hora válida");
  }
  EXPECT_THROW(ParseRecordItems("5,0,Pasta,,,7"), ELxException);
}

TEST(RecordLine, FolderWritesFiveFieldsAndDocumentTwelve) {
  TTOMORecordH folder;
  folder.Id = 5;
  folder.Title = "Pasta";
  folder.Changed = EncodeDate(2003, 2, 1);
  folder.Kind = 'T';  // not written for a folder
  EXPECT_EQ(FormatRecordLine(folder), ".5,0,Pasta,,01/02/2003");

  TTOMORecordH document = folder;
  document.DocumentNumber = 9;
  document.Summary = "a\\b\r\nc";
  document.Changed += EncodeTime(10, 20, 30);
  EXPECT_EQ(FormatRecordLine(document),
            ".5,0,Pasta,a\\\\b\\13\\10c,\"01/02/2003 10:20:30\",9,0,T,30/12/1899,30/12/1899,30/12/1899,");
}

TEST(RecordLine, WrittenRecordReadsBackUnchanged) {
  TTOMORecordH record;
  record.Id = 42;
  record.ParentId = 7;
  record.Title = "T\xEDtulo \"com\", v\xEDrgula";
  record.Summary = "linha 1\r\nlinha 2\t\\fim";
  record.Changed = EncodeDate(2020, 1, 2) + EncodeTime(3, 4, 5);
  record.DocumentNumber = 1234;
  record.DocumentSize = 5678;
  record.Kind = 'B';
  record.DocumentDate = EncodeDate(2020, 1, 1);
  record.AuxDate = EncodeDate(2019, 12, 31) + EncodeTime(23, 59, 59);
  record.PublishedDate = EncodeDate(2020, 1, 3);
  record.AuxText = "aux, text";
  const std::string line = FormatRecordLine(record);
  EXPECT_EQ(ParseRecordItems(std::string_view(line).substr(1)), record);
}

// Before 30/12/1899 the day count is negative; a time of day there once
// moved the date back a day each time the line was written and read again.
TEST(RecordLine, EarlyDatesWithATimeOfDayReadBackUnchanged) {
  const std::string line = ".1,0,Legisla\xE7\xE3o,,\"02/01/0200 08:30:00\"";
  const TTOMORecordH record = ParseRecordItems(std::string_view(line).substr(1));
  EXPECT_EQ(DateTimeToStr(record.Changed), "02/01/0200 08:30:00");
  EXPECT_EQ(FormatRecordLine(record), line);
}

TEST(RecordLine, LineBreaksInTitleCannotSplitTheRecord) {
  TTOMORecordH record;
  record.Id = 3;
  record.Title = "dois\r\n.99,0,falso";
  record.DocumentNumber = 3;
  record.Kind = 0;  // written empty: the character itself would end the line
  record.AuxText = std::string("a\0b", 3);
  const std::string line = FormatRecordLine(record);
  EXPECT_EQ(line.find_first_of(std::string("\r\n\0", 3)), std::string::npos);
  const TTOMORecordH read = ParseRecordItems(std::string_view(line).substr(1));
  EXPECT_EQ(read.Title, "dois  .99,0,falso");
  EXPECT_EQ(read.Kind, 0);
  EXPECT_EQ(read.AuxText, "a b");
}

TEST(RecordLine, DatesReadLikeTheGeneralDateParser) {
  for (const char* text : {"01/01/2000", "28/02/2001", "29/02/2004", "31/12/1999 23:59:59", "30/12/1899",
                           "15/06/2010 00:00:01", "1/2/2003", "01/02/03", "05/03/2003 7:05", "29/11/2020 12:00:00",
                           "02/01/0200 08:30:00", "29/12/1899 06:00:00", "28/12/1899 23:59:59"}) {
    EXPECT_EQ(ParseRecordItems(std::string("1,0,t,,\"") + text + "\"").Changed, StrToDateTime(text)) << text;
  }
  for (const char* bad : {"31/04/2003", "29/02/2003", "00/01/2000", "01/13/2000", "01/01/2000 24:00:00",
                          "01/01/2000 10:60:00", "aa/bb/cccc", "01/01/0000"}) {
    try {
      ParseRecordItems(std::string("1,0,t,,\"") + bad + "\"");
      ADD_FAILURE() << bad;
    } catch (const ELxException& error) {
      EXPECT_EQ(error.Message(), std::string("'") + bad + "' não é uma data e hora válida");
    }
  }
}
