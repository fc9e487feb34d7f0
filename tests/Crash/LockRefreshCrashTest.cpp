// The directory lock's check-and-write cut at each of its changes: a folder
// held by someone else must still read as held, whatever the checker left.

#include <gtest/gtest.h>

#include <string>

#include "CutPlan.h"
#include "LxDirectoryLock.h"
#include "LxDirectoryLockFile.h"
#include "TempFolder.h"

namespace {

TEST(LockRefreshCrash, AHeldFolderStaysHeldWhenACheckerIsCutAtAnyChange) {
  TempFolder folder;
  const std::string lockFile = folder.File("lock.dat");
  const std::string holder = "SERVIDOR.1234.9568256";
  TCutDriver driver;
  driver.Prepare = [&] { WriteWholeFile(lockFile, holder + "\r\nEXCLUSIVE\r\n600000\r\n"); };
  driver.Commit = [&] {
    TLxDirectoryLock checker(folder.Path().string(), 5000);
    checker.LockShared();
  };
  driver.RunUnderCut = RunUnderLxCut;
  driver.Check = [&](const std::string& where) {
    std::vector<std::string> lines = ParseLockLines(ReadWholeFile(lockFile));
    ASSERT_GE(lines.size(), 3u) << where;
    EXPECT_EQ(lines[0], holder) << where;
    EXPECT_EQ(CountDownForeignLock(lines, 5000, 0.0), lmExclusive) << where;
  };
  const int cuts = driver.RunEveryCut();
  EXPECT_GE(cuts, 4);
  RecordProperty("cut_points", cuts);
}

}  // namespace
