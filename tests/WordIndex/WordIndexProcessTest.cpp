#include <memory>
#include <string>

#include <QProcess>
#include <QStringList>

#include <gtest/gtest.h>

#include "LxExcept.h"
#include "LxFilUtl.h"
#include "Prompts.h"
#include "TempFolder.h"
#include "WordIndexError.h"
#include "WordIndexLockWrite.h"
#include "WordIndexMessages.h"
#include "WordIndexTestSupport.h"

namespace {

constexpr int kProcessTimeoutMilliseconds = 20000;

// Another process holding the index folder until Release.
class TOtherProcess {
 public:
  TOtherProcess(const std::string& folder, const char* mode) {
    process_.start(WORDINDEX_LOCK_HOLDER, QStringList{QString::fromStdString(folder), mode});
    EXPECT_TRUE(process_.waitForStarted(kProcessTimeoutMilliseconds));
    EXPECT_TRUE(process_.waitForReadyRead(kProcessTimeoutMilliseconds));
    EXPECT_EQ(process_.readLine().trimmed().toStdString(), "locked");
  }
  ~TOtherProcess() { Release(); }

  void Release() {
    if (process_.state() == QProcess::NotRunning) return;
    process_.write("\n");
    process_.closeWriteChannel();
    EXPECT_TRUE(process_.waitForFinished(kProcessTimeoutMilliseconds));
    EXPECT_EQ(process_.exitCode(), 0) << process_.readAllStandardError().toStdString();
  }

 private:
  QProcess process_;
};

class WordIndexAcrossProcesses : public ::testing::Test {
 protected:
  WordIndexAcrossProcesses() { BuildTestIndex(index, {{4, "imposto de renda"}}); }

  std::string SearchError() {
    try {
      SearchUtf8(index, "renda");
    } catch (const EWordIndexError& error) {
      return error.Message();
    }
    return "no error";
  }

  TempFolder folder;
  std::string indexFolder = folder.File("Extra");
  TWordIndex index{indexFolder};
  TScriptedPrompts prompts;
  TScopedPrompts scopedPrompts{prompts};
};

TEST_F(WordIndexAcrossProcesses, SearchWhileAnotherProcessUpdatesAsksAndGivesUp) {
  TOtherProcess updater(indexFolder, "update");
  int pauses = 0;
  index.SetPause([&](std::chrono::milliseconds) { ++pauses; });
  EXPECT_EQ(SearchError(), kIndexInUseMessage);
  EXPECT_EQ(pauses, 3);
  EXPECT_EQ(prompts.Questions(),
            (std::vector<std::string>{FormatMessage(kSearchBusyQuestion, ComputerName().c_str())}));
}

TEST_F(WordIndexAcrossProcesses, SearchSucceedsOnceTheOtherProcessLetsGo) {
  TOtherProcess updater(indexFolder, "update");
  int pauses = 0;
  index.SetPause([&](std::chrono::milliseconds) {
    if (++pauses == 2) updater.Release();
  });
  EXPECT_EQ(Describe(SearchUtf8(index, "renda")), "4,11:5");
  EXPECT_EQ(pauses, 2);
  EXPECT_TRUE(prompts.Questions().empty());
}

TEST_F(WordIndexAcrossProcesses, SearchesOfTwoProcessesShareTheIndex) {
  TOtherProcess searcher(indexFolder, "search");
  EXPECT_EQ(Describe(SearchUtf8(index, "imposto")), "4,0:7");
}

TEST_F(WordIndexAcrossProcesses, BuildWhileAnotherProcessSearchesGivesUpAfterOneWait) {
  TOtherProcess searcher(indexFolder, "search");
  try {
    index.OpenCreate();
    FAIL() << "the build should not get the index";
  } catch (const EWordIndexError& error) {
    EXPECT_EQ(error.Message(), FormatMessage(kCreateBusyMessage, ComputerName().c_str()));
  }
  searcher.Release();
  EXPECT_EQ(Describe(SearchUtf8(index, "imposto")), "4,0:7");
}

}  // namespace
