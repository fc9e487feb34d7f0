#include <gtest/gtest.h>

#include <random>

#include "RichTextPlainText.h"
#include "RichTextTestSupport.h"
#include "RtfReader.h"

// RTF comes from update packages and servers: whatever arrives, reading it
// ends, in time and memory in proportion to its size, with some text.

TEST(RtfHostileInputTest, TruncatedDocumentsKeepTheTextReadSoFar) {
  EXPECT_EQ(RtfToPlainText(R"({\rtf1 Art. 1\'ba texto {\b negrito)"), "Art. 1\xBA texto negrito");
  EXPECT_EQ(RtfToPlainText(R"({\rtf1 a\)"), "a");
  EXPECT_EQ(RtfToPlainText(R"({\rtf1 a\'e)"), "a");  // 0x0E, a control: dropped
  EXPECT_EQ(RtfToPlainText(R"({\rtf1 a\u)"), "a");
  EXPECT_EQ(RtfToPlainText(R"({\rtf1 a{\pict\pngblip 89504)"), "a ");
  EXPECT_EQ(RtfToPlainText(R"({\rtf1 a{\field{\*\fldinst HYPERLINK "x)"), "a");
}

TEST(RtfHostileInputTest, ExtraClosingBracesEndTheDocument) {
  EXPECT_EQ(RtfToPlainText(R"({\rtf1 a}}}} b)"), "a");
  EXPECT_EQ(RichTextPlainText(ReadRtf(R"(}{\rtf1 a})")), "");
}

TEST(RtfHostileInputTest, DeepNestingIsSkippedNotRecursed) {
  const int depth = 100000;
  const std::string rtf = "{\\rtf1 antes" + std::string(depth, '{') + "fundo" +
                          std::string(depth, '}') + " depois}";
  EXPECT_EQ(RtfToPlainText(rtf), "antes depois");
  const std::string justInside = "{\\rtf1 " + std::string(kMaxRtfGroupDepth - 1, '{') + "raso}";
  EXPECT_EQ(RtfToPlainText(justInside), "raso");
  // Never closed at all.
  EXPECT_EQ(RtfToPlainText("{\\rtf1 x" + std::string(depth, '{')), "x");
}

TEST(RtfHostileInputTest, AbsurdParametersAreClamped) {
  const TRichTextDocument document = ReadRtf(
      R"({\rtf1\fs999999999\li-99999999999999\sb2147483648\cf77777\f123456789 a\uc999999999 \u66000 bbb})");
  const TRichParagraph& paragraph = std::get<TRichParagraph>(document.blocks.at(0));
  EXPECT_EQ(paragraph.runs.at(0).format.sizeHalfPoints, 3276);
  EXPECT_EQ(paragraph.format.leftIndent, -31680);
  EXPECT_EQ(paragraph.format.spaceBefore, 31680);
  EXPECT_EQ(paragraph.runs.at(0).format.foreground, kAutoColor);
  EXPECT_EQ(RichTextPlainText(document), "a?");
}

TEST(RtfHostileInputTest, BinaryLengthsPastTheEndTakeWhatThereIs) {
  EXPECT_EQ(RtfToPlainText(R"({\rtf1 a{\pict\pngblip\bin999999999999 xyz}})"), "a ");
  EXPECT_EQ(RtfToPlainText(R"({\rtf1 a\bin-5 b})"), "ab");
  EXPECT_EQ(RtfToPlainText(R"({\rtf1 a{\*\x\bin2 }}b}c})"), "ac");
}

TEST(RtfHostileInputTest, ManyCellsInOneRowAreFoldedAndNeverPadOtherRows) {
  std::string rtf = "{\\rtf1\\intbl ";
  for (int i = 0; i < 20000; ++i) rtf += "x\\cell ";
  rtf += "\\row";
  for (int i = 0; i < 20000; ++i) rtf += "\\intbl y\\cell\\row";
  rtf += "}";
  const TRichTextDocument document = ReadRtf(rtf);
  ASSERT_EQ(document.blocks.size(), 2u);
  EXPECT_EQ(std::get<TRichTable>(document.blocks[0]).columnCount, 64);
  const TRichTable& narrow = std::get<TRichTable>(document.blocks[1]);
  EXPECT_EQ(narrow.columnCount, 1);
  EXPECT_EQ(narrow.rows.size(), 20000u);
}

TEST(RtfHostileInputTest, BinaryGarbageYieldsSomeTextAndNoFault) {
  std::mt19937 random(20240315);
  std::uniform_int_distribution<int> byte(0, 255);
  for (int round = 0; round < 200; ++round) {
    std::string garbage = "{\\rtf1 ";
    for (int i = 0; i < 2000; ++i) garbage.push_back(static_cast<char>(byte(random)));
    const std::string text = RtfToPlainText(garbage);
    EXPECT_LE(text.size(), 2 * garbage.size());
  }
}

// Mutations of real documents: flipped, dropped, duplicated and inserted
// bytes, with RTF's own syntax characters favoured. Runs under the sanitizers
// in CI, so the reader must neither fault nor read out of bounds.
TEST(RtfHostileInputTest, MutatedFixturesNeverFault) {
  static constexpr char kSyntax[] = "{}\\'*0123456789-ubinpardcellrowfldinstpict ";
  std::mt19937 random(1989);
  std::vector<std::string> fixtures;
  for (const std::string& name : RtfFixtureNames()) fixtures.push_back(ReadRtfFixture(name));
  ASSERT_FALSE(fixtures.empty());
  constexpr int kRounds = 3000;
  for (int round = 0; round < kRounds; ++round) {
    std::string rtf = fixtures[round % fixtures.size()];
    const int mutations = 1 + static_cast<int>(random() % 20);
    for (int m = 0; m < mutations && !rtf.empty(); ++m) {
      const size_t at = random() % rtf.size();
      switch (random() % 5) {
        case 0: rtf[at] = static_cast<char>(random()); break;
        case 1: rtf.erase(at, 1 + random() % 64); break;
        case 2: rtf.insert(at, rtf.substr(at, random() % 256)); break;
        case 3: rtf.insert(at, 1, kSyntax[random() % (sizeof(kSyntax) - 1)]); break;
        case 4: rtf.resize(at); break;
      }
    }
    const std::string text = RtfToPlainText(rtf);
    ASSERT_LE(text.size(), 2 * rtf.size() + 2) << "round " << round;
  }
}

TEST(RtfHostileInputTest, TextCutShortByTheNestingLimitOrAWrongEncodingSaysSo) {
  const int depth = 200000;
  const std::string deep = "{\\rtf1 " + std::string(depth, '{') + "fundo" + std::string(depth, '}') + "}";
  EXPECT_NE(ReadRichText(deep).damage, "");
  const std::string justInside = "{\\rtf1 " + std::string(kMaxRtfGroupDepth - 1, '{') + "raso}";
  EXPECT_EQ(ReadRichText(justInside).damage, "");
  // A body in UTF-16 is no Windows-1252 text.
  using namespace std::string_literals;
  EXPECT_NE(ReadRichText("L\0e\0i\0"s).damage, "");
  EXPECT_EQ(ReadRichText("Lei n\xBA 1").damage, "");
}

// Layout words that ask for absurd amounts: the model stays small and the
// measures stay in range.
TEST(RtfHostileInputTest, LayoutWordsAreBounded) {
  std::string rtf = "{\\rtf1\\trowd";
  for (int i = 0; i < 10000; ++i) rtf += "\\clbrdrt\\brdrw99999\\cellx" + std::to_string(i * 10);
  rtf += "\\pard";
  for (int i = 0; i < 10000; ++i) rtf += "\\tx" + std::to_string(i);
  rtf += "\\tx-5\\trleft-2147483647\\trgaph2147483647\\intbl a\\cell\\row\\pard\\li-99999999 b\\par}";
  const TRichTextDocument document = ReadRtf(rtf);
  const TRichTable& table = std::get<TRichTable>(document.blocks.at(0));
  EXPECT_EQ(table.rows.at(0).cells.size(), 1u);
  EXPECT_EQ(table.rows[0].format.leftEdge, -31680);
  EXPECT_EQ(table.rows[0].format.halfGap, 31680);
  EXPECT_LE(table.rows[0].cells[0].format.top.widthTwips, 1440);
  const std::vector<TRichTabStop>& tabs = table.rows[0].cells[0].paragraphs.at(0).format.tabs;
  ASSERT_FALSE(tabs.empty());
  EXPECT_LE(tabs.size(), 64u);
  EXPECT_EQ(tabs.front().position, 0);
  EXPECT_EQ(std::get<TRichParagraph>(document.blocks.at(1)).format.leftIndent, -31680);
}
