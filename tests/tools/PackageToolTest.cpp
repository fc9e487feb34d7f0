// Runs `pandecta-tool make-package` and `apply-package` as processes: round
// trips compared with `tree` and `body`, the word index searched with
// `search`, and updates killed after every line of their log and applied
// again.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <chrono>

#include "PackageTestSupport.h"
#include "TempFolder.h"
#include "ToolProcess.h"

namespace fs = std::filesystem;

namespace {

using ::testing::HasSubstr;

int LineCount(const std::string& text) {
  int lines = 0;
  for (char c : text) lines += c == '\n';
  return lines;
}

class PackageToolTest : public ::testing::Test {
 protected:
  std::string Path(const std::string& name) const { return folder_.File(name); }

  TRun Tree(const std::string& data) { return RunTool("tree " + Quoted(data), false); }

  // Every document of NEW's tree reads the same in `data`.
  void ExpectSameDocuments(const std::string& data, const std::string& expected) {
    for (const auto& [id, number] : DocumentEntries(expected)) {
      const std::string n = std::to_string(number);
      EXPECT_EQ(RunTool("body " + Quoted(data) + " " + n, false).Output,
                RunTool("body " + Quoted(expected) + " " + n, false).Output)
          << "document " << n;
    }
  }

  // OLD generated, NEW with three documents replaced and one entry added;
  // DATA a copy of OLD with its word index in EXTRA.
  void PrepareBases() {
    GenerateSmallBase(Path("old"));
    CopyFolder(Path("old"), Path("new"));
    const auto entries = DocumentEntries(Path("old"));
    auto entry = entries.begin();
    for (int n = 0; n < 3; ++n, ++entry) ReplaceDocument(Path("new"), entry->first, "zebrafish quimera", NewerDate());
    AddDocumentEntry(Path("new"), "Portaria ornitorrinco", "capivara", NewerDate());
    CopyFolder(Path("old"), Path("data"));
    ASSERT_EQ(RunTool("index " + Quoted(Path("data")) + " " + Quoted(Path("extra"))).ExitCode, 0);
    const TRun made = RunTool("make-package " + Quoted(Path("old")) + " " + Quoted(Path("new")) + " " +
                              Quoted(Path("out")) + " --title 'Atualização' --id A-1");
    ASSERT_EQ(made.ExitCode, 0) << made.Output;
    EXPECT_EQ(made.Output, "1 volume(s), 4 documento(s), " + std::to_string(PayloadBytes()) + " bytes\n");
  }

  std::int64_t PayloadBytes() const {
    const std::string volume = ReadWholeFile(Path("out") + "/atualizacao.dat");
    return static_cast<std::int64_t>(volume.size() - volume.find("\n\n") - 2);
  }

  TRun Apply(const std::string& data, const std::string& extra, const std::string& environment = {}) {
    return RunTool("apply-package " + Quoted(data) + " " + Quoted(extra) + " " +
                       Quoted(Path("out") + "/atualizacao.dat"),
                   true, environment);
  }

  bool IndexFinds(const std::string& word, int entries) {
    return LineCount(RunTool("search " + Quoted(Path("extra")) + " " + word, false).Output) == entries;
  }

  // Polls until a search no longer finds the index in use; false after the
  // bound.
  bool WaitUntilIndexFree() {
    for (int attempt = 0; attempt < kLockPollAttempts; ++attempt) {
      if (RunTool("search " + Quoted(Path("extra")) + " x").Output.find("em uso") == std::string::npos) return true;
      std::this_thread::sleep_for(kLockPollPause);
    }
    return false;
  }

  static constexpr int kLockPollAttempts = 60;
  static constexpr std::chrono::milliseconds kLockPollPause{500};

  TempFolder folder_;
};

TEST_F(PackageToolTest, RoundTripOnAGeneratedBaseAndItsWordIndex) {
  PrepareBases();
  const TRun applied = Apply(Path("data"), Path("extra"));
  ASSERT_EQ(applied.ExitCode, 0) << applied.Output;
  EXPECT_THAT(applied.Output, HasSubstr("! Concluído."));
  EXPECT_EQ(Tree(Path("data")).Output, Tree(Path("new")).Output);
  ExpectSameDocuments(Path("data"), Path("new"));
  const std::string extra = Quoted(Path("extra"));
  EXPECT_EQ(LineCount(RunTool("search " + extra + " zebrafish", false).Output), 3);
  EXPECT_EQ(LineCount(RunTool("search " + extra + " capivara", false).Output), 1);
  EXPECT_EQ(LineCount(RunTool("search " + extra + " ornitorrinco", false).Output), 1);
}

TEST_F(PackageToolTest, RoundTripOfTheDemoCollectionIntoAnEmptyFolder) {
  ASSERT_EQ(RunTool("build-base " + Quoted(PANDECTA_DEMO_SOURCE) + " " + Quoted(Path("demo"))).ExitCode, 0);
  const TRun made = RunTool("make-package " + Quoted(Path("none")) + " " + Quoted(Path("demo")) + " " +
                            Quoted(Path("out")) + " --title Demo --id D-1 --all --volume-size 4000");
  ASSERT_EQ(made.ExitCode, 0) << made.Output;
  ASSERT_TRUE(fs::exists(Path("out") + "/2/atualizacao.dat"));
  // Without a terminal the second disk cannot be asked for: the update ends
  // unapplied, saying why.
  const std::string drive = Path("drive");
  fs::create_directories(drive);
  fs::copy_file(Path("out") + "/1/atualizacao.dat", drive + "/atualizacao.dat");
  const TRun unattended = RunTool("apply-package " + Quoted(Path("data")) + " " + Quoted(Path("extra")) + " " +
                                  Quoted(drive + "/atualizacao.dat"));
  EXPECT_EQ(unattended.ExitCode, 1);
  EXPECT_THAT(unattended.Output, HasSubstr("Insira o disco n° 2 da atualização \"Demo\". [Cancelar]"));
  EXPECT_THAT(unattended.Output, HasSubstr("# Operação cancelada pelo usuário!"));
  EXPECT_FALSE(fs::exists(Path("data") + "/TOMOIdx.dat"));

  // All volumes in one: the same package unsplit.
  fs::remove_all(Path("out"));
  ASSERT_EQ(RunTool("make-package " + Quoted(Path("none")) + " " + Quoted(Path("demo")) + " " +
                    Quoted(Path("out")) + " --title Demo --id D-1 --all")
                .ExitCode,
            0);
  const TRun applied = Apply(Path("data"), Path("extra"));
  ASSERT_EQ(applied.ExitCode, 0) << applied.Output;
  EXPECT_EQ(Tree(Path("data")).Output, Tree(Path("demo")).Output);
  ExpectSameDocuments(Path("data"), Path("demo"));
}

TEST_F(PackageToolTest, WrongArgumentsAndBrokenPackagesFailClearly) {
  EXPECT_THAT(RunTool("make-package a b").Output, HasSubstr("uso: pandecta-tool make-package"));
  EXPECT_THAT(RunTool("make-package a b c --title T").Output, HasSubstr("Informe --title e --id."));
  EXPECT_THAT(RunTool("make-package a b c --title T --id I --volume-size -4").Output,
              HasSubstr("Tamanho de volume inválido"));
  EXPECT_THAT(RunTool("make-package a b c --title T --id I --all --name ../x").Output,
              HasSubstr("Nome de volume inválido"));
  WriteWholeFile(Path("bad.dat"), "isto não é um pacote\n\n");
  const TRun bad = RunTool("apply-package " + Quoted(Path("data")) + " " + Quoted(Path("extra")) + " " +
                           Quoted(Path("bad.dat")));
  EXPECT_EQ(bad.ExitCode, 1);
  EXPECT_THAT(bad.Output, HasSubstr("# Exceção EUpdatePackageError"));
  EXPECT_THAT(bad.Output, HasSubstr("Formato de arquivo inválido"));
  const TRun missing = RunTool("apply-package " + Quoted(Path("data")) + " " + Quoted(Path("extra")) + " " +
                               Quoted(Path("nada.dat")));
  EXPECT_EQ(missing.ExitCode, 1);
  EXPECT_THAT(missing.Output, HasSubstr("nada.dat"));
}

// A crash after any line of the log: the base still loads and reads, and
// the same package applied again completes the update.
TEST_F(PackageToolTest, KilledAtEveryLogLineThenAppliedAgain) {
  PrepareBases();
  CopyFolder(Path("data"), Path("data-pristine"));
  CopyFolder(Path("extra"), Path("extra-pristine"));
  const TRun full = Apply(Path("data"), Path("extra"));
  ASSERT_EQ(full.ExitCode, 0);
  const int lines = LineCount(full.Output);
  ASSERT_GT(lines, 20);

  for (int k = 1; k < lines; ++k) {
    SCOPED_TRACE("killed after line " + std::to_string(k));
    fs::remove_all(Path("data"));
    fs::remove_all(Path("extra"));
    CopyFolder(Path("data-pristine"), Path("data"));
    CopyFolder(Path("extra-pristine"), Path("extra"));
    const TRun killed = Apply(Path("data"), Path("extra"), "PANDECTA_TEST_KILL_AFTER_LINE=" + std::to_string(k));
    ASSERT_EQ(killed.ExitCode, -1) << killed.Output;

    const TRun tree = Tree(Path("data"));
    ASSERT_EQ(tree.ExitCode, 0);
    for (const auto& [id, number] : DocumentEntries(Path("data"))) {
      ASSERT_FALSE(DocumentBody(Path("data"), number).empty()) << "document " << number;
    }

    const TRun again = Apply(Path("data"), Path("extra"));
    ASSERT_EQ(again.ExitCode, 0) << again.Output;
    EXPECT_EQ(Tree(Path("data")).Output, Tree(Path("new")).Output);
    ExpectSameDocuments(Path("data"), Path("new"));
    // The killed process's hold on the word index lasts until its lock
    // record goes stale; meanwhile the index is marked for a rebuild rather
    // than left behind silently.
    EXPECT_TRUE(fs::exists(Path("extra") + "/OutOfDate.txt") || IndexFinds("zebrafish", 3));
  }
}

// Killed while installing documents with the word index open: once the dead
// process's lock record has gone stale, applying again brings the index up
// to date as well.
TEST_F(PackageToolTest, KilledWhileIndexingThenAppliedAgainOnceTheLockIsStale) {
  PrepareBases();
  const TRun killed = Apply(Path("data"), Path("extra"), "PANDECTA_TEST_KILL_AFTER_LINE=16");
  ASSERT_EQ(killed.ExitCode, -1) << killed.Output;
  ASSERT_THAT(killed.Output, HasSubstr("! Atualizado"));
  ASSERT_TRUE(WaitUntilIndexFree());
  const TRun again = Apply(Path("data"), Path("extra"));
  ASSERT_EQ(again.ExitCode, 0) << again.Output;
  EXPECT_EQ(Tree(Path("data")).Output, Tree(Path("new")).Output);
  EXPECT_FALSE(fs::exists(Path("extra") + "/OutOfDate.txt"));
  EXPECT_TRUE(IndexFinds("zebrafish", 3));
  EXPECT_TRUE(IndexFinds("ornitorrinco", 1));
}

}  // namespace
