// The maintenance commands of the "Arquivo" menu driven as a user drives
// them: the word index build window, clearing the index and the document
// list refresh, with the real operations underneath.

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>

#include "ClientTestBase.h"
#include "ConfigUnit.h"
#include "DocumentFileName.h"
#include "DocumentListRefresh.h"
#include "IndexBuildOperation.h"
#include "IndexBuildUnit.h"
#include "InstalledCollection.h"
#include "LxFilUtl.h"
#include "RemoveDocumentUnit.h"
#include "TOMONode.h"
#include "TOMOTree.h"
#include "WordIndex.h"
#include "WordIndexLockSearch.h"
#include "WordIndexLockWrite.h"
#include "WordIndexMessages.h"

namespace {

constexpr int kChainTimeoutMs = 10'000;
constexpr int kPollMs = 10;

class MaintenanceTest : public ClientTest {
 protected:
  void SetUp() override {
    ClientTest::SetUp();
    WordIndex = std::make_unique<TWordIndex>([] { return Config().GetString(ExtraFolder); });
  }
  void TearDown() override {
    // A build window still open holds the index: it goes before the index.
    delete TfrmBuildIndex::Instance();
    ClientTest::TearDown();
    WordIndex.reset();
  }

  // Two text documents, a bitmap and an empty folder.
  void MakeBase() {
    AddFolder(1, 0, "Leis");
    AddDocument(10, 1, "Lei do imposto");
    AddDocument(11, 1, "Lei da renda");
    AddDocument(12, 1, "Mapa", kKindBitmap);
    AddFolder(2, 0, "Vazia");
    SaveIndex();
    WriteBody(10, TextBody(RtfLines({"imposto sobre mercadoria"})));
    WriteBody(11, TextBody(RtfLines({"renda tributável"})));
    WriteBody(12, "BM-not-text");
  }

  std::string OutOfDateFile() const { return PathJoin(Config().GetString(ExtraFolder), "OutOfDate.txt"); }

  // Answers the question with `answer` and chooses "Gerar Índice de Palavras...".
  TfrmBuildIndex* ChooseCreateIndex(bool answer) {
    prompts_.AddAnswer(answer);
    Window().Actions().CreateIndexAction->trigger();
    return TfrmBuildIndex::Instance();
  }

  static bool WaitFinished(const TOperation& operation) {
    QElapsedTimer timer;
    timer.start();
    while (!operation.Finished() && timer.elapsed() < kChainTimeoutMs) {
      QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    return operation.Finished();
  }

  static std::vector<std::string> LogLines(const QDialog& window) {
    std::vector<std::string> lines;
    const QString text = window.findChild<QPlainTextEdit*>("RichEdit")->toPlainText();
    for (const QString& line : text.split('\n')) lines.push_back(line.toStdString());
    return lines;
  }

  static bool HasLine(const QDialog& window, const std::string& line) {
    for (const std::string& logged : LogLines(window)) {
      if (logged == line) return true;
    }
    return false;
  }

  // Presses the window's Hide/Close button.
  static void PressHide(QDialog& window) { window.findChild<QPushButton*>("HideButton")->click(); }

  void CloseBuildWindow() {
    QPointer<TfrmBuildIndex> window = TfrmBuildIndex::Instance();
    ASSERT_TRUE(window);
    PressHide(*window);
    for (int i = 0; i < 20 && window; ++i) QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(window);
  }

  std::int32_t SizeOf(int id) { return Window().Tree()->FindNode(id)->Record().DocumentSize; }
};

TEST_F(MaintenanceTest, FoldersOnlyTreeBuildsAnEmptyIndexAndClearsTheMarker) {
  AddFolder(1, 0, "Leis");
  AddFolder(2, 1, "Decretos");
  SaveIndex();
  OpenWindow();
  WordIndex->MarkOutOfDate();
  ASSERT_TRUE(FileExists(OutOfDateFile()));

  TfrmBuildIndex* window = ChooseCreateIndex(true);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(prompts_.Questions().back(), "Esta operação poderá levar alguns minutos. Deseja continuar?");
  EXPECT_EQ(window->windowTitle(), "Geração do índice de palavras");
  EXPECT_TRUE(window->isVisible());
  ASSERT_TRUE(WaitFinished(window->Operation()));

  EXPECT_TRUE(HasLine(*window, ": Contando documentos"));
  EXPECT_TRUE(HasLine(*window, "! Concluído. 0 documentos a processar."));
  EXPECT_TRUE(HasLine(*window, "! Processamento concluído"));
  EXPECT_FALSE(window->Operation().Failed());
  // The engine closed the index (its hint blocks on the disk) before the
  // last line, with the window still open; the marker went then.
  EXPECT_FALSE(FileExists(OutOfDateFile()));
  EXPECT_TRUE(FileExists(PathJoin(WordIndex->EngineFolder(), "hint.il")));
  CloseBuildWindow();
}

TEST_F(MaintenanceTest, BuildIndexesTextsOnlyAndASearchSucceedsOnceFinished) {
  MakeBase();
  OpenWindow();
  TfrmBuildIndex* window = ChooseCreateIndex(true);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(window->Operation().Report().Stages(),
            (std::vector<std::string>{"Preparando criação do arquivo de índice", "Gerando índice de palavras"}));
  ASSERT_TRUE(WaitFinished(window->Operation()));

  // The bitmap is neither counted nor indexed; each text has its line.
  EXPECT_TRUE(HasLine(*window, "! Concluído. 2 documentos a processar."));
  EXPECT_TRUE(HasLine(*window, "  Lei do imposto"));
  EXPECT_TRUE(HasLine(*window, "  Lei da renda"));
  EXPECT_FALSE(HasLine(*window, "  Mapa"));
  EXPECT_EQ(window->Build().DocumentsIndexed(), 2);
  EXPECT_EQ(window->Operation().Report().ProgressMax(), 2);
  EXPECT_EQ(window->Operation().Report().ProgressPosition(), 2);
  // Finished, the Hide button reads "Fechar" and the settings are still
  // closed while the window holds the index.
  EXPECT_EQ(window->findChild<QPushButton*>("HideButton")->text(), "Fechar");
  EXPECT_FALSE(Window().Actions().ConfigAction->isEnabled());

  // The finished build let go of the index: a search works with its window open.
  EXPECT_NO_THROW(WordIndex->OpenSearch("imposto"));
  CloseBuildWindow();
  EXPECT_TRUE(Window().Actions().ConfigAction->isEnabled());
}

TEST_F(MaintenanceTest, ChoosingTheCommandAgainShowsTheSameWindowWithoutAsking) {
  MakeBase();
  OpenWindow();
  TfrmBuildIndex* window = ChooseCreateIndex(true);
  ASSERT_NE(window, nullptr);
  const size_t questions = prompts_.Questions().size();
  window->hide();

  Window().Actions().CreateIndexAction->trigger();
  EXPECT_EQ(TfrmBuildIndex::Instance(), window);
  EXPECT_TRUE(window->isVisible());
  EXPECT_EQ(prompts_.Questions().size(), questions);
  ASSERT_TRUE(WaitFinished(window->Operation()));
}

TEST_F(MaintenanceTest, AnsweringNoCreatesNothingAndKeepsTheOldIndex) {
  MakeBase();
  OpenWindow();
  WordIndex->MarkOutOfDate();
  EXPECT_EQ(ChooseCreateIndex(false), nullptr);
  EXPECT_TRUE(FileExists(OutOfDateFile()));
  EXPECT_TRUE(errors_.empty());
}

TEST_F(MaintenanceTest, IndexOpenElsewhereInTheProgramShowsTheErrorAndNoWindow) {
  MakeBase();
  OpenWindow();
  {
    auto held = WordIndex->OpenCreate();
    EXPECT_EQ(ChooseCreateIndex(true), nullptr);
  }
  ASSERT_EQ(errors_.size(), 1u);
  EXPECT_EQ(errors_[0].Message, kIndexAlreadyOpenMessage);
  // Once the other user let go, the command works.
  TfrmBuildIndex* window = ChooseCreateIndex(true);
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(WaitFinished(window->Operation()));
}

TEST_F(MaintenanceTest, CancelKeepsTheMarker) {
  MakeBase();
  OpenWindow();
  WordIndex->MarkOutOfDate();
  TfrmBuildIndex* window = ChooseCreateIndex(true);
  ASSERT_NE(window, nullptr);
  window->findChild<QPushButton*>("CancelButton")->click();
  ASSERT_TRUE(WaitFinished(window->Operation()));
  EXPECT_TRUE(window->Operation().Cancelled());
  EXPECT_TRUE(FileExists(OutOfDateFile()));
}

TEST_F(MaintenanceTest, ClearIndexDeletesTheIndexAndIsRefusedWhileItIsOpen) {
  MakeBase();
  OpenWindow();
  TfrmBuildIndex* window = ChooseCreateIndex(true);
  ASSERT_TRUE(WaitFinished(window->Operation()));
  {
    const auto held = WordIndex->OpenUpdate();
    Window().Actions().ClearIndexAction->trigger();
    ASSERT_EQ(errors_.size(), 1u);
    EXPECT_TRUE(FileExists(PathJoin(WordIndex->EngineFolder(), "hint.il")));
  }
  CloseBuildWindow();

  Window().Actions().ClearIndexAction->trigger();
  EXPECT_EQ(errors_.size(), 1u);
  EXPECT_FALSE(FileExists(PathJoin(WordIndex->EngineFolder(), "hint.il")));
}

// --- Document list refresh -----------------------------------------------------------

class RefreshTest : public MaintenanceTest {
 protected:
  // Shows the refresh window modally as the command does, and closes it
  // once its work is over.
  QPointer<TfrmRemoveDocuments> RunRefresh() {
    QPointer<TfrmRemoveDocuments> shown;
    QTimer poll;
    poll.setInterval(kPollMs);
    QElapsedTimer timer;
    timer.start();
    QObject::connect(&poll, &QTimer::timeout, [this, &shown, &poll, &timer] {
      auto* window = Window().findChild<TfrmRemoveDocuments*>();
      if (!window || !window->isVisible()) return;
      // Between two steps the chain is briefly idle: only the end counts.
      const bool done = window->Operation().Finished() && !window->Operation().Running();
      if (!done && timer.elapsed() < kChainTimeoutMs) return;
      poll.stop();
      shown = window;
      lastLog_ = LogLines(*window);
      PressHide(*window);
    });
    poll.start();
    Window().Actions().RemoveDocumentsAction->trigger();
    return shown;
  }
  // Until the chain ends by itself: finished, or stopped after the list.
  static void WaitFinishedOrIdle(const TOperation& operation) {
    QElapsedTimer timer;
    timer.start();
    while (operation.Running() && timer.elapsed() < kChainTimeoutMs) {
      QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }
  }
  int saves_ = 0;
  static inline std::vector<std::string> lastLog_;

  void CountSaves() {
    QObject::connect(&Window().Collection(), &TInstalledCollection::TreeAboutToBeSaved, [this] { ++saves_; });
  }
  static bool Logged(const std::string& line) {
    for (const std::string& logged : lastLog_) {
      if (logged == line) return true;
    }
    return false;
  }
};

TEST_F(RefreshTest, DeletedDocumentGetsSizeZeroAndTheTreeIsSavedOnce) {
  MakeBase();
  OpenWindow();
  // A first refresh learns the sizes of the files as they are.
  RunRefresh();
  ASSERT_GT(SizeOf(10), 0);
  ASSERT_GT(SizeOf(11), 0);
  CountSaves();

  std::filesystem::remove(DocumentFileName(DataFolder(), 11));
  const QPointer<TfrmRemoveDocuments> window = RunRefresh();
  EXPECT_FALSE(window);  // freed when its modal loop ended
  EXPECT_EQ(Window().findChild<TfrmRemoveDocuments*>(), nullptr);
  EXPECT_TRUE(Logged(": Criando lista de documentos..."));
  EXPECT_TRUE(Logged("! Operação concluída."));
  EXPECT_EQ(SizeOf(11), 0);
  EXPECT_GT(SizeOf(10), 0);
  EXPECT_EQ(saves_, 1);
  // What was saved is what the next start reads.
  TTOMOTree stored(DataFolder());
  EXPECT_EQ(stored.FindNode(11)->Record().DocumentSize, 0);
  EXPECT_EQ(stored.FindNode(10)->Record().DocumentSize, SizeOf(10));
}

TEST_F(RefreshTest, UnchangedBaseWritesNothing) {
  MakeBase();
  OpenWindow();
  RunRefresh();
  CountSaves();
  const auto written = std::filesystem::last_write_time(IndexFile());
  RunRefresh();
  EXPECT_EQ(saves_, 0);
  EXPECT_EQ(std::filesystem::last_write_time(IndexFile()), written);
  EXPECT_TRUE(Logged("! Operação concluída."));
}

// The operation alone, as pandecta-tool runs it: folders are listed and
// counted but not measured, a second start does nothing.
TEST_F(RefreshTest, FoldersAreCountedButNotMeasuredAndTheWorkRunsOnce) {
  MakeBase();
  OpenWindow();
  TDocumentListRefresh refresh(Window().Collection());
  refresh.Start();
  ASSERT_TRUE(WaitFinished(refresh));
  // Root, two folders, three documents.
  EXPECT_EQ(refresh.ListedNodes(), 6);
  EXPECT_EQ(refresh.Report().ProgressMax(), 6);
  EXPECT_EQ(refresh.Report().ProgressPosition(), 6);
  EXPECT_EQ(SizeOf(1), 0);
  refresh.Start();
  QCoreApplication::processEvents();
  EXPECT_EQ(refresh.ListedNodes(), 6);
}

TEST_F(RefreshTest, EmptyTreeStopsAfterTheList) {
  OpenWindow();  // no index file: no tree
  ASSERT_EQ(Window().Tree(), nullptr);
  TDocumentListRefresh refresh(Window().Collection());
  refresh.Start();
  QElapsedTimer timer;
  timer.start();
  while (refresh.Running() && timer.elapsed() < kChainTimeoutMs) QCoreApplication::processEvents();
  EXPECT_FALSE(refresh.Running());
  EXPECT_FALSE(refresh.Finished());
  ASSERT_EQ(refresh.Report().Nodes().Count(), 1);
  EXPECT_EQ(refresh.Report().Nodes().Caption(0), "<- vazio ->");
  EXPECT_EQ(refresh.Report().CurrentStage(), 1);
}

TEST_F(RefreshTest, ATreeReplacedDuringTheWalkStopsIt) {
  MakeBase();
  OpenWindow();
  TDocumentListRefresh refresh(Window().Collection());
  refresh.Start();
  while (refresh.ListedNodes() == 0) QCoreApplication::processEvents();
  Window().LoadTree();
  QElapsedTimer timer;
  timer.start();
  while (refresh.Running() && timer.elapsed() < kChainTimeoutMs) QCoreApplication::processEvents();
  // Stopped by itself, not by the user: it failed, and says no cancel.
  EXPECT_TRUE(refresh.Failed());
  EXPECT_FALSE(refresh.Cancelled());
}

}  // namespace
