// Operations that end: the program quitting with an operation window alive,
// the word index let go of as soon as the work is over, a build passing
// over a missing document, and "Sobre..." while an operation exists.

#include <filesystem>
#include <memory>
#include <string>

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>

#include "../tools/ToolProcess.h"
#include "ClientConfigUnit.h"
#include "ClientTestBase.h"
#include "ConfigUnit.h"
#include "DocumentFileName.h"
#include "IndexBuildOperation.h"
#include "IndexBuildUnit.h"
#include "LxFilUtl.h"
#include "UpdateOperation.h"
#include "UpdateUnit.h"
#include "WordIndex.h"
#include "WordIndexLockSearch.h"

namespace {

constexpr int kChainTimeoutMs = 10'000;
constexpr char kQuitQuestion[] = "Há uma operação em andamento. Deseja cancelá-la e sair?";

class OperationEndTest : public ClientTest {
 protected:
  void SetUp() override {
    ClientTest::SetUp();
    WordIndex = std::make_unique<TWordIndex>([] { return Config().GetString(ExtraFolder); });
    AddFolder(1, 0, "Leis");
    AddDocument(10, 1, "Lei do imposto");
    AddDocument(11, 1, "Lei da renda");
    AddDocument(12, 1, "Lei do selo");
    SaveIndex();
    WriteBody(10, TextBody(RtfLines({"imposto sobre mercadoria"})));
    WriteBody(11, TextBody(RtfLines({"renda tributável"})));
    WriteBody(12, TextBody(RtfLines({"selo e imposto"})));
    OpenWindow();
  }
  void TearDown() override {
    // The main window goes first, with its operation windows: the quit path.
    DestroyWindow();
    ClientTest::TearDown();
    WordIndex.reset();
  }

  TfrmBuildIndex* StartBuild() {
    prompts_.AddAnswer(true);
    Window().Actions().CreateIndexAction->trigger();
    return TfrmBuildIndex::Instance();
  }

  static bool WaitFinished(const TOperation& operation) {
    QElapsedTimer timer;
    timer.start();
    while ((!operation.Finished() || operation.Running()) && timer.elapsed() < kChainTimeoutMs) {
      QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    return operation.Finished();
  }

  static QString Log(const QDialog& window) { return window.findChild<QPlainTextEdit*>("RichEdit")->toPlainText(); }

  // pandecta-tool searching the index folder as another machine would.
  static TRun SearchFromAnotherProcess(const std::string& phrase) {
    return RunTool("search " + Quoted(Config().GetString(ExtraFolder)) + " " + Quoted(phrase));
  }

  // Closes the main window as "Arquivo > Sair" does; true when it closed.
  bool Quit() {
    Window().Actions().ExitAction->trigger();
    return Window().isHidden();
  }

  std::string OutOfDateFile() const { return PathJoin(Config().GetString(ExtraFolder), "OutOfDate.txt"); }
};

TEST_F(OperationEndTest, QuittingDuringABuildAsksAndCancelsOnYes) {
  TfrmBuildIndex* build = StartBuild();
  ASSERT_NE(build, nullptr);
  ASSERT_FALSE(build->Operation().Finished());
  prompts_.AddAnswer(false);
  EXPECT_FALSE(Quit());
  EXPECT_EQ(prompts_.Questions().back(), kQuitQuestion);
  EXPECT_FALSE(build->Operation().Finished());

  prompts_.AddAnswer(true);
  EXPECT_TRUE(Quit());
  EXPECT_TRUE(build->Operation().Cancelled());
  EXPECT_TRUE(build->isHidden());
  // Once its queued step has seen the cancel, the build lets go of the
  // index and leaves it marked out of date.
  ASSERT_TRUE(WaitFinished(build->Operation()));
  EXPECT_TRUE(FileExists(OutOfDateFile()));
  EXPECT_EQ(WordIndex->Lock(), nullptr);
  DestroyWindow();  // the build window's end must not reach the freed actions
}

TEST_F(OperationEndTest, QuittingWithFinishedOrHiddenWindowsAsksOnlyForTheRunningOne) {
  TfrmBuildIndex* build = StartBuild();
  ASSERT_TRUE(WaitFinished(build->Operation()));
  // A running update (its file not chosen yet) hidden in the tray.
  auto* update = new TfrmUpdate(TUpdateKind::LocalFile, Window().Collection(), &Window());
  update->Update().SetUpdateKind(TUpdateKind::LocalFile);
  update->hide();
  const size_t questions = prompts_.Questions().size();
  prompts_.AddAnswer(true);
  EXPECT_TRUE(Quit());
  EXPECT_EQ(prompts_.Questions().size(), questions + 1);
  EXPECT_TRUE(update->Update().Cancelled());
  EXPECT_FALSE(build->Operation().Cancelled());
  DestroyWindow();
}

TEST_F(OperationEndTest, QuittingWithOnlyAFinishedBuildDoesNotAsk) {
  TfrmBuildIndex* build = StartBuild();
  ASSERT_TRUE(WaitFinished(build->Operation()));
  const size_t questions = prompts_.Questions().size();
  EXPECT_TRUE(Quit());
  EXPECT_EQ(prompts_.Questions().size(), questions);
  DestroyWindow();
}

TEST_F(OperationEndTest, AFinishedBuildLetsGoOfTheIndexWhileItsWindowStaysOpen) {
  TfrmBuildIndex* build = StartBuild();
  ASSERT_TRUE(WaitFinished(build->Operation()));
  EXPECT_FALSE(build->Operation().Failed());
  EXPECT_TRUE(build->isVisible());
  // Up to date before the last line says so.
  EXPECT_FALSE(FileExists(OutOfDateFile()));
  EXPECT_TRUE(Log(*build).endsWith("! Processamento concluído"));
  EXPECT_NO_THROW(WordIndex->OpenSearch("imposto"));
  const TRun other = SearchFromAnotherProcess("imposto");
  EXPECT_EQ(other.ExitCode, 0) << other.Output;
  EXPECT_EQ(other.Output, "10\t1\t0:7\n12\t0\t7:7\n");

  // The window says it is done: the result is the headline, no empty list.
  EXPECT_EQ(build->findChild<QLabel*>("Headline")->text(), "Processamento concluído");
  EXPECT_TRUE(build->findChild<QWidget*>("TreeView")->isHidden());
  EXPECT_FALSE(build->findChild<QPushButton*>("CancelButton")->isEnabled());
  EXPECT_EQ(build->findChild<QPushButton*>("HideButton")->text(), "Fechar");
}

TEST_F(OperationEndTest, AMissingDocumentIsPassedOverAndTheIndexCompletes) {
  std::filesystem::remove(DocumentFileName(DataFolder(), 11));
  TfrmBuildIndex* build = StartBuild();
  ASSERT_TRUE(WaitFinished(build->Operation()));
  EXPECT_FALSE(build->Operation().Failed());
  EXPECT_TRUE(errors_.empty());
  const QString log = Log(*build);
  EXPECT_TRUE(log.contains("# Documento não indexado: Lei da renda (0011): ")) << log.toStdString();
  EXPECT_TRUE(log.contains("! Processamento concluído\n# 1 documento(s) não puderam ser lidos e ficaram fora do índice."))
      << log.toStdString();
  EXPECT_EQ(build->Build().DocumentsIndexed(), 3);
  EXPECT_FALSE(FileExists(OutOfDateFile()));
  EXPECT_EQ(SearchFromAnotherProcess("selo").Output, "12\t1\t0:4\n");
}

TEST_F(OperationEndTest, ACancelledBuildShowsItAndAboutOpensWithNothingToApply) {
  TfrmBuildIndex* build = StartBuild();
  build->findChild<QPushButton*>("CancelButton")->click();
  ASSERT_TRUE(WaitFinished(build->Operation()));
  EXPECT_EQ(build->findChild<QLabel*>("Headline")->text(), "Operação cancelada pelo usuário");
  EXPECT_FALSE(build->findChild<QPushButton*>("CancelButton")->isEnabled());
  EXPECT_EQ(Log(*build).count("# Operação cancelada pelo usuário!"), 1);
  EXPECT_EQ(WordIndex->Lock(), nullptr);

  // The build window still exists: "Sobre..." shows only its page.
  bool checked = false;
  QTimer::singleShot(0, [&] {
    auto* dialog = qobject_cast<TfrmClientConfig*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    auto* pages = dialog->findChild<QTabWidget*>("PageControl");
    EXPECT_EQ(pages->currentIndex(), static_cast<int>(TfrmClientConfig::TPage::About));
    EXPECT_FALSE(pages->isTabEnabled(static_cast<int>(TfrmClientConfig::TPage::Installation)));
    EXPECT_FALSE(pages->isTabEnabled(static_cast<int>(TfrmClientConfig::TPage::Update)));
    EXPECT_TRUE(dialog->findChild<QPushButton*>("ApplyButton")->isHidden());
    checked = true;
    dialog->done(0);
  });
  Window().Actions().AboutAction->trigger();
  EXPECT_TRUE(checked);
}

}  // namespace
