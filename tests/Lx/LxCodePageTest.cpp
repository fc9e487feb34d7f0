#include "LxCodePage.h"

#include <gtest/gtest.h>

TEST(Win1252, EveryByteSurvivesTheRoundTripThroughUtf8) {
  std::string all;
  for (int code = 0; code < 256; ++code) all.push_back(static_cast<char>(code));
  EXPECT_EQ(Utf8ToWin1252(Win1252ToUtf8(all)), all);
}

TEST(Win1252, PortugueseLettersAndThePunctuationRange) {
  EXPECT_EQ(Win1252ToUtf8("A\xE7\xE3o"), "Ação");
  EXPECT_EQ(Win1252ToUtf8("\x80"), "€");
  EXPECT_EQ(Win1252ToUtf8("\x93x\x94"), "“x”");
  EXPECT_EQ(Utf8ToWin1252("Relatório — €"), "Relat\xF3rio \x97 \x80");
}

TEST(Win1252, CharactersOutsideTheCodePageBecomeTheReplacement) {
  EXPECT_EQ(Utf8ToWin1252("中a"), "?a");
  EXPECT_EQ(Utf8ToWin1252("😀", '_'), "_");
  EXPECT_EQ(UnicodeToWin1252(0x4E2D), -1);
}

TEST(Utf8, BrokenSequencesNeverReadPastTheEnd) {
  // A lead byte at the end, a bad continuation, an overlong form, a surrogate.
  EXPECT_EQ(Utf8ToWin1252("a\xC3"), "a?");
  EXPECT_EQ(Utf8ToWin1252("\xE2\x28\xA1"), "?(?");
  EXPECT_EQ(Utf8ToWin1252("\xC0\xAF"), "??");
  EXPECT_EQ(Utf8ToWin1252("\xED\xA0\x80"), "???");
}
