#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "LxDirectoryLockFile.h"

namespace {

using TLines = std::vector<std::string>;

constexpr TDateTime kMillisecond = 1.0 / (24.0 * 60 * 60 * 1000);

TEST(LockFileLines, SplitAtEveryKindOfLineEnd) {
  EXPECT_EQ(ParseLockLines(""), TLines{});
  EXPECT_EQ(ParseLockLines("a\r\nb\r\nc\r\n"), (TLines{"a", "b", "c"}));
  EXPECT_EQ(ParseLockLines("a\nb\rc"), (TLines{"a", "b", "c"}));
  EXPECT_EQ(ParseLockLines("a\r\n\r\nc\r\n."), (TLines{"a", "", "c", "."}));
  EXPECT_EQ(ParseLockLines("\r\r\n"), (TLines{"", ""}));
  EXPECT_EQ(ParseLockLines(std::string("a\0b\r\n", 5)), TLines{std::string("a\0b", 3)});
}

TEST(LockFileLines, AFileLargerThanAnyLockFileHasNoLines) {
  const std::string huge(kMaxLockFileBytes + 1, '\n');
  EXPECT_TRUE(ParseLockLines(huge).empty());
  EXPECT_EQ(ParseLockLines(std::string(kMaxLockFileBytes, '\n')).size(), kMaxLockFileBytes);
}

TEST(LockFileLines, AreWrittenWithCrLf) {
  EXPECT_EQ(FormatLockLines({"X.1.2", "EXCLUSIVE", "5000"}), "X.1.2\r\nEXCLUSIVE\r\n5000\r\n");
  EXPECT_EQ(FormatLockLines({}), "");
  const TLines lines{"a", "", "c"};
  EXPECT_EQ(ParseLockLines(FormatLockLines(lines)), lines);
}

TEST(LockModes, HaveTheirTextsAndAreReadIgnoringCase) {
  EXPECT_STREQ(LockModeText(lmNone), "NONE");
  EXPECT_STREQ(LockModeText(lmWriteDenied), "WRITE DENIED");
  EXPECT_STREQ(LockModeText(lmExclusive), "EXCLUSIVE");
  EXPECT_EQ(LockModeFromText("write denied"), lmWriteDenied);
  EXPECT_EQ(LockModeFromText("Exclusive"), lmExclusive);
  EXPECT_EQ(LockModeFromText("EXCLUSIVE "), lmNone);
  EXPECT_EQ(LockModeFromText("LOCKED"), lmNone);
  EXPECT_EQ(LockModeFromText(""), lmNone);
}

TEST(LockIdentities, NameTheMachineBeforeTheFirstDot) {
  EXPECT_EQ(MachineOfIdentity("SERVIDOR.1234.9568256"), "SERVIDOR");
  EXPECT_EQ(MachineOfIdentity(".1.2"), "");
  EXPECT_EQ(MachineOfIdentity("SEMPONTO"), "");
  EXPECT_EQ(MachineOfIdentity(""), "");
  EXPECT_EQ(LockIdentity("ESTACAO3", 4120, 7), "ESTACAO3.4120.7");
  EXPECT_EQ(LockIdentity("X", 0xFFFFFFFFu, -2), "X.-1.-2");
  EXPECT_TRUE(SameIdentity("estacao3.4120.7", "ESTACAO3.4120.7"));
  EXPECT_FALSE(SameIdentity("ESTACAO3.4120.7", "ESTACAO3.4120.8"));
}

TEST(LockIntegers, AreSigned32BitDecimalsWithNothingAround) {
  EXPECT_EQ(ParseLockInteger("5000"), 5000);
  EXPECT_EQ(ParseLockInteger("-3000"), -3000);
  EXPECT_EQ(ParseLockInteger("+12"), 12);
  EXPECT_EQ(ParseLockInteger("2147483647"), 2147483647);
  for (const char* bad : {"", "-", "+", "abc", "12a", " 12", "12 ", "2147483648", "1e3", "0x10", "--1"}) {
    EXPECT_EQ(ParseLockInteger(bad), std::nullopt) << bad;
  }
}

TEST(ForeignLockCountdown, IsRefusedUpToTheIntervalPlusThreeSecondsAndStaleAfter) {
  TLines lines{"SERVIDOR.1.2", "EXCLUSIVE", "5000"};
  EXPECT_EQ(CountDownForeignLock(lines, 100, 8000 * kMillisecond), lmExclusive);
  EXPECT_EQ(lines[2], "-3000");

  lines = {"SERVIDOR.1.2", "EXCLUSIVE", "5000"};
  EXPECT_EQ(CountDownForeignLock(lines, 100, 8001 * kMillisecond), lmNone);
  EXPECT_EQ(lines[2], "5000");  // a stale record is replaced, not counted
}

TEST(ForeignLockCountdown, AddsUpOverSuccessiveChecks) {
  TLines lines{"SERVIDOR.1.2", "WRITE DENIED", "5000"};
  EXPECT_EQ(CountDownForeignLock(lines, 100, 2000 * kMillisecond), lmWriteDenied);
  EXPECT_EQ(CountDownForeignLock(lines, 100, 4000 * kMillisecond), lmWriteDenied);
  EXPECT_EQ(lines[2], "-1000");
  EXPECT_EQ(CountDownForeignLock(lines, 100, 2002 * kMillisecond), lmNone);
}

TEST(ForeignLockCountdown, ABadCountdownStandsForTheCheckersInterval) {
  TLines lines{"SERVIDOR.1.2", "EXCLUSIVE", "cinco mil"};
  EXPECT_EQ(CountDownForeignLock(lines, 60000, 10000 * kMillisecond), lmExclusive);
  EXPECT_EQ(lines[2], "50000");
  lines = {"SERVIDOR.1.2", "EXCLUSIVE", "99999999999"};
  EXPECT_EQ(CountDownForeignLock(lines, 1000, 10000 * kMillisecond), lmNone);
}

TEST(ForeignLockCountdown, ADayOldRecordIsStaleWhateverItAnnounces) {
  TLines lines{"SERVIDOR.1.2", "EXCLUSIVE", "2147483647"};
  EXPECT_EQ(CountDownForeignLock(lines, 5000, 1.0), lmExclusive);
  EXPECT_EQ(CountDownForeignLock(lines, 5000, 1.0 + kMillisecond), lmNone);
}

TEST(ForeignLockCountdown, AClockThatWentBackDoesNotLengthenTheLease) {
  TLines lines{"SERVIDOR.1.2", "EXCLUSIVE", "5000"};
  EXPECT_EQ(CountDownForeignLock(lines, 100, -1.0 / 24), lmExclusive);  // an hour back
  EXPECT_EQ(lines[2], "5000");
}

TEST(ForeignLockCountdown, AnUnknownModeCountsAsFree) {
  TLines lines{"SERVIDOR.1.2", "TRANCADO", "5000"};
  EXPECT_EQ(CountDownForeignLock(lines, 100, 0), lmNone);
  TLines shortFile{"SERVIDOR.1.2", "EXCLUSIVE"};
  EXPECT_EQ(CountDownForeignLock(shortFile, 100, 0), lmNone);
}

}  // namespace
