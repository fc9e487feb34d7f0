#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "LockFileTesting.h"
#include "LxDirectoryLock.h"
#include "LxExcept.h"
#include "LxFilUtl.h"
#include "TempFolder.h"

namespace {

using TLines = std::vector<std::string>;

constexpr std::int32_t kInterval = 5000;
const char kForeignHolder[] = "SERVIDOR.1234.9568256";

class DirectoryLockTest : public ::testing::Test {
 protected:
  TempFolder folder;
  std::string directory = folder.Path().string();
  std::string lockFile = folder.File("lock.dat");

  // A holder elsewhere that wrote the file `age` seconds ago.
  void ForeignRecord(const std::string& mode, const std::string& countdown, long age,
                     const TLines& extra = {}) {
    TLines lines{kForeignHolder, mode, countdown};
    lines.insert(lines.end(), extra.begin(), extra.end());
    WriteLockFile(lockFile, lines);
    AgeFile(lockFile, age);
  }
};

TEST_F(DirectoryLockTest, LockingAFreeFolderWritesIdentityModeAndInterval) {
  TLxDirectoryLock lock(directory, kInterval);
  ASSERT_TRUE(lock.LockExclusive());
  EXPECT_EQ(ReadWholeFile(lockFile), lock.HolderIdentity() + "\r\nEXCLUSIVE\r\n5000\r\n");
  EXPECT_EQ(lock.Mode(), lmExclusive);
  EXPECT_EQ(lock.OwnerMachine(), "");  // no file of three lines was read

  TLxDirectoryLock shared(folder.File(""), 250);
  lock.Unlock();
  ASSERT_TRUE(shared.LockShared());
  EXPECT_EQ(LockFileLines(lockFile), (TLines{shared.HolderIdentity(), "WRITE DENIED", "250"}));
}

TEST_F(DirectoryLockTest, IdentitiesNameMachineProcessAndObject) {
  TLxDirectoryLock first(directory, kInterval);
  TLxDirectoryLock second(directory, kInterval);
  const std::string prefix = ComputerName() + "." + std::to_string(::getpid()) + ".";
  EXPECT_EQ(first.HolderIdentity().rfind(prefix, 0), 0u);
  EXPECT_EQ(second.HolderIdentity().rfind(prefix, 0), 0u);
  EXPECT_NE(first.HolderIdentity(), second.HolderIdentity());
  EXPECT_EQ(first.ProcessId(), static_cast<std::uint32_t>(::getpid()));
}

TEST_F(DirectoryLockTest, AnotherObjectOfTheSameProcessIsRefusedTheExclusiveLock) {
  TLxDirectoryLock holder(directory, kInterval);
  TLxDirectoryLock other(directory, kInterval);
  ASSERT_TRUE(holder.LockExclusive());
  EXPECT_FALSE(other.LockExclusive());
  EXPECT_FALSE(other.LockShared());
  EXPECT_EQ(other.OwnerMachine(), ComputerName());
  EXPECT_EQ(LockFileLine(lockFile, 0), holder.HolderIdentity());
}

TEST_F(DirectoryLockTest, SharedHoldersCoexistAndTheFileNamesTheLastOne) {
  TLxDirectoryLock first(directory, kInterval);
  TLxDirectoryLock second(directory, kInterval);
  TLxDirectoryLock exclusive(directory, kInterval);
  ASSERT_TRUE(first.LockShared());
  ASSERT_TRUE(second.LockShared());
  EXPECT_EQ(LockFileLine(lockFile, 0), second.HolderIdentity());
  EXPECT_TRUE(first.Refresh());
  EXPECT_EQ(LockFileLine(lockFile, 0), first.HolderIdentity());
  EXPECT_FALSE(exclusive.LockExclusive());
}

TEST_F(DirectoryLockTest, UnlockByTheRecordedHolderLeavesNone) {
  TLxDirectoryLock lock(directory, kInterval);
  ASSERT_TRUE(lock.LockShared());
  lock.Unlock();
  EXPECT_EQ(LockFileLines(lockFile), (TLines{lock.HolderIdentity(), "NONE", "5000"}));
  EXPECT_EQ(lock.Mode(), lmNone);
  lock.Unlock();  // nothing more to do
  TLxDirectoryLock next(directory, kInterval);
  EXPECT_TRUE(next.LockExclusive());
}

TEST_F(DirectoryLockTest, AMissingFolderIsAnErrorAndNoFileIsMade) {
  const std::string missing = folder.File("nao-existe");
  TLxDirectoryLock lock(missing, kInterval);
  try {
    lock.LockExclusive();
    FAIL() << "no error";
  } catch (const ELxException& error) {
    EXPECT_EQ(error.Message(),
              "Não foi possível bloquear o uso do diretório. O caminho \"" + missing + "\" não existe");
  }
  EXPECT_FALSE(std::filesystem::exists(missing));
  WriteWholeFile(missing, "um arquivo, não uma pasta");
  EXPECT_THROW(lock.LockShared(), ELxException);
}

TEST_F(DirectoryLockTest, AForeignHolderIsRefusedWhileItsCountdownLastsAndCountedDown) {
  ForeignRecord("EXCLUSIVE", "5000", 2);
  TLxDirectoryLock lock(directory, kInterval);
  EXPECT_FALSE(lock.LockShared());
  EXPECT_EQ(lock.OwnerMachine(), "SERVIDOR");
  const TLines lines = LockFileLines(lockFile);
  ASSERT_EQ(lines.size(), 3u);  // the byte appended to read the clock is gone
  EXPECT_EQ(lines[0], kForeignHolder);
  EXPECT_EQ(lines[1], "EXCLUSIVE");
  EXPECT_TRUE(lines[2] == "3000" || lines[2] == "1000") << lines[2];
  EXPECT_EQ(ReadWholeFile(lockFile).back(), '\n');
}

TEST_F(DirectoryLockTest, AForeignHolderSilentForLongerThanItsIntervalPlusThreeSecondsIsTakenOver) {
  ForeignRecord("EXCLUSIVE", "5000", 10);
  TLxDirectoryLock lock(directory, kInterval);
  EXPECT_TRUE(lock.LockExclusive());
  EXPECT_EQ(lock.OwnerMachine(), "SERVIDOR");
  EXPECT_EQ(LockFileLines(lockFile), (TLines{lock.HolderIdentity(), "EXCLUSIVE", "5000"}));
}

TEST_F(DirectoryLockTest, ADayOldFileIsStaleWhateverItsCountdownSays) {
  ForeignRecord("EXCLUSIVE", "2147483647", 2);
  TLxDirectoryLock lock(directory, kInterval);
  EXPECT_FALSE(lock.LockExclusive());

  ForeignRecord("EXCLUSIVE", "2147483647", 24 * 60 * 60 + 4);
  EXPECT_TRUE(lock.LockExclusive());
}

TEST_F(DirectoryLockTest, ACountdownThatIsNoNumberStandsForTheCheckersInterval) {
  ForeignRecord("EXCLUSIVE", "abc", 6);
  TLxDirectoryLock patient(directory, 60000);
  EXPECT_FALSE(patient.LockExclusive());

  ForeignRecord("EXCLUSIVE", "abc", 6);
  TLxDirectoryLock brief(directory, 1000);
  EXPECT_TRUE(brief.LockExclusive());
}

TEST_F(DirectoryLockTest, ModesAreMatchedIgnoringCaseAndUnknownOnesAreFree) {
  ForeignRecord("exclusive", "60000", 0);
  TLxDirectoryLock lock(directory, kInterval);
  EXPECT_FALSE(lock.LockShared());
  ForeignRecord("write denied", "60000", 0);
  EXPECT_TRUE(lock.LockShared());
  lock.Unlock();
  ForeignRecord("TRANCADO", "60000", 0);
  EXPECT_TRUE(lock.LockExclusive());
}

TEST_F(DirectoryLockTest, ExtraLinesStayWhenRefusedAndGoWhenGranted) {
  ForeignRecord("EXCLUSIVE", "60000", 0, {"quarta", "quinta"});
  TLxDirectoryLock lock(directory, kInterval);
  EXPECT_FALSE(lock.LockExclusive());
  EXPECT_EQ(LockFileLines(lockFile).size(), 5u);
  ForeignRecord("NONE", "60000", 0, {"quarta"});
  EXPECT_TRUE(lock.LockExclusive());
  EXPECT_EQ(LockFileLines(lockFile).size(), 3u);
}

TEST_F(DirectoryLockTest, AFileOfFewerThanThreeLinesIsFree) {
  for (const std::string& contents : {std::string(), std::string("SERVIDOR.1.1\r\nEXCLUSIVE"), std::string("\r\n\r\n")}) {
    WriteWholeFile(lockFile, contents);
    TLxDirectoryLock lock(directory, kInterval);
    EXPECT_TRUE(lock.LockExclusive()) << contents;
    EXPECT_EQ(lock.OwnerMachine(), "");
  }
}

TEST_F(DirectoryLockTest, RefusedThenUnlockedLeavesTheHoldersRecord) {
  ForeignRecord("EXCLUSIVE", "60000", 0);
  TLxDirectoryLock lock(directory, kInterval);
  ASSERT_FALSE(lock.LockExclusive());
  EXPECT_EQ(lock.Mode(), lmExclusive);  // requested until Unlock
  lock.Unlock();
  EXPECT_EQ(lock.Mode(), lmNone);
  EXPECT_EQ(LockFileLine(lockFile, 0), kForeignHolder);
  EXPECT_EQ(LockFileLine(lockFile, 1), "EXCLUSIVE");
}

TEST_F(DirectoryLockTest, RelockingAHeldObjectLetsTheOldHoldGo) {
  TLxDirectoryLock lock(directory, kInterval);
  ASSERT_TRUE(lock.LockShared());
  ASSERT_TRUE(lock.LockExclusive());
  EXPECT_EQ(LockFileLines(lockFile), (TLines{lock.HolderIdentity(), "EXCLUSIVE", "5000"}));
}

TEST_F(DirectoryLockTest, AFileHeldByAnotherCheckerIsNotGranted) {
  TLxDirectoryLock lock(directory, kInterval);
  WriteLockFile(lockFile, {});
  const int other = ::open(lockFile.c_str(), O_RDWR);
  ASSERT_GE(other, 0);
  ASSERT_EQ(::flock(other, LOCK_EX | LOCK_NB), 0);
  EXPECT_FALSE(lock.LockExclusive());
  ::close(other);
  EXPECT_TRUE(lock.LockExclusive());
}

TEST_F(DirectoryLockTest, HostileLockFilesEndInAClearOutcome) {
  TLxDirectoryLock lock(directory, kInterval);

  // Larger than any lock file: damaged, so free, and rewritten small.
  WriteWholeFile(lockFile, std::string(kMaxLockFileBytes + 10, 'x') + "\r\n\r\n\r\n");
  EXPECT_TRUE(lock.LockExclusive());
  EXPECT_EQ(LockFileLines(lockFile).size(), 3u);
  lock.Unlock();

  // Binary rubbish in every line.
  static const char rubbish[] = "\0\xff.\x01\r\nEXCLUSIVE\r\n\x80\x81\r\n";
  WriteWholeFile(lockFile, std::string(rubbish, sizeof rubbish - 1));
  AgeFile(lockFile, 0);
  EXPECT_FALSE(lock.LockExclusive());
  EXPECT_EQ(lock.OwnerMachine(), std::string("\0\xff", 2));
  lock.Unlock();

  // A machine name without dots and a very long first line.
  WriteLockFile(lockFile, {std::string(60000, 'M'), "EXCLUSIVE", "60000"});
  EXPECT_FALSE(lock.LockExclusive());
  EXPECT_EQ(lock.OwnerMachine(), "");
  lock.Unlock();
}

TEST_F(DirectoryLockTest, ALockFileThatIsNoPlainFileIsNeverGrantedNorFollowed) {
  TLxDirectoryLock lock(directory, kInterval);
  std::filesystem::create_directory(lockFile);
  EXPECT_FALSE(lock.LockExclusive());
  lock.Unlock();
  std::filesystem::remove(lockFile);

  const std::string target = folder.File("alvo.txt");
  WriteWholeFile(target, "conteúdo que não pode ser perdido");
  std::filesystem::create_symlink(target, lockFile);
  EXPECT_FALSE(lock.LockExclusive());
  lock.Unlock();
  EXPECT_EQ(ReadWholeFile(target), "conteúdo que não pode ser perdido");
}

TEST_F(DirectoryLockTest, ReleasingEveryLockAtTheEndUnlocksThemAll) {
  TLxDirectoryLock first(directory, kInterval);
  TempFolder otherFolder;
  TLxDirectoryLock second(otherFolder.Path().string(), kInterval);
  ASSERT_TRUE(first.LockShared());
  ASSERT_TRUE(second.LockExclusive());
  ReleaseAllDirectoryLocks();
  EXPECT_EQ(first.Mode(), lmNone);
  EXPECT_EQ(second.Mode(), lmNone);
  EXPECT_EQ(LockFileLine(lockFile, 1), "NONE");
  EXPECT_EQ(LockFileLine(otherFolder.File("lock.dat"), 1), "NONE");
}

}  // namespace

// The first lock object of a fresh process: with a counter it was always
// number 1, so two containers (process id 1) on cloned machines wrote the same
// identity and each took the other's exclusive lock for its own.
TEST_F(DirectoryLockTest, TheFirstLockOfFreshProcessesGetsDifferentNumbers) {
  auto objectNumberInChild = [&] {
    int pipeEnds[2];
    if (::pipe(pipeEnds) != 0) return std::string();
    const pid_t child = ::fork();
    if (child == 0) {
      const std::string identity = TLxDirectoryLock(directory, kInterval).HolderIdentity();
      const std::string number = identity.substr(identity.rfind('.') + 1);
      (void)!::write(pipeEnds[1], number.data(), number.size());
      ::_exit(0);
    }
    ::close(pipeEnds[1]);
    char buffer[32] = {};
    const ssize_t got = ::read(pipeEnds[0], buffer, sizeof buffer - 1);
    ::close(pipeEnds[0]);
    ::waitpid(child, nullptr, 0);
    return std::string(buffer, got > 0 ? static_cast<size_t>(got) : 0);
  };
  const std::string first = objectNumberInChild();
  const std::string second = objectNumberInChild();
  ASSERT_FALSE(first.empty());
  EXPECT_GT(std::stoll(first), 0);
  EXPECT_NE(first, second);
}

TEST_F(DirectoryLockTest, TwoHoldersWithTheSameNameAndProcessNeverShareTheExclusiveLock) {
  // Both objects live in this process: same machine name, same process id.
  for (int round = 0; round < 100; ++round) {
    TLxDirectoryLock holder(directory, kInterval);
    TLxDirectoryLock other(directory, kInterval);
    ASSERT_NE(holder.HolderIdentity(), other.HolderIdentity());
    ASSERT_TRUE(holder.LockExclusive());
    ASSERT_FALSE(other.LockExclusive());
  }
}
