// TfrmUpdate with the real widgets: a package applied in the window, the one
// window per program, kinds 2 and 3 finding their file, and the reload of
// the installed tree after an update that did not complete.
#include <filesystem>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QPointer>
#include <functional>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

#include "ErrorDisplay.h"
#include "InstalledCollection.h"
#include "OperationTestSupport.h"
#include "PackageTestSupport.h"
#include "TOMODocumentSet.h"
#include "TOMOTree.h"
#include "InternetUpdate.h"
#include "PackageUpdate.h"
#include "UpdateUnit.h"
#include "UpdatePackageFormat.h"

namespace {

// Kinds 2 and 3 with the user's answers decided by the test.
class TTestUpdateWindow : public TfrmUpdate {
 public:
  using TfrmUpdate::TfrmUpdate;
  QString ChosenFile;
  int MediumPrompts = 0;

  QString AskForUpdateFile() override { return ChosenFile; }
  bool AskForMedium() override {
    ++MediumPrompts;
    return false;
  }
};

class UpdatePackageWindowTest : public OperationTest {
 protected:
  void SetUp() override {
    OperationTest::SetUp();
    SetErrorPresenter([this](const TErrorReport&) { ++errors_; });
    GenerateSmallBase(Data());
    CopyFolder(Data(), New());
    const std::int32_t id = DocumentEntries(Data()).begin()->first;
    ReplaceDocument(New(), id, "janela", NewerDate());
    documents_ = std::make_unique<TTOMODocumentFolder>(Data());
    collection_ = std::make_unique<TInstalledCollection>([this] { return Data(); }, [] { return nullptr; });
    collection_->LoadTree();
    QObject::connect(collection_.get(), &TInstalledCollection::TreeReplaced, [this] { ++reloads_; });
  }
  void TearDown() override {
    delete TfrmUpdate::Instance();
    collection_.reset();
    documents_.reset();
    SetErrorPresenter({});
    OperationTest::TearDown();
  }

  std::string Data() const { return folder_.File("data"); }
  std::string New() const { return folder_.File("new"); }

  // A one-volume package NEW over DATA's base, written by hand with the
  // tree file and no document records.
  std::string WritePackage(const std::string& path) {
    const std::string tree = ReadWholeFile(std::filesystem::path(New()) / "TOMOIdx.dat");
    const std::string payload = ZlibBlock(Fixed32(static_cast<std::int32_t>(tree.size())) + tree);
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    WriteWholeFile(path, Volume("Seqüência: 1\nTamanho Total: " + std::to_string(payload.size()) +
                                    "\nTítulo: Janela\nIdentificador: J-1\n",
                                payload));
    return path;
  }

  static bool RunUntil(const std::function<bool()>& done, int timeoutMs = 10'000) {
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < timeoutMs) {
      QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
      // A released window goes with the deferred deletions of an event loop.
      QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    return done();
  }

  QString LogText(TfrmUpdate& window) { return window.findChild<QPlainTextEdit*>("RichEdit")->toPlainText(); }

  std::unique_ptr<TTOMODocumentFolder> documents_;
  std::unique_ptr<TInstalledCollection> collection_;
  int errors_ = 0;
  int reloads_ = 0;
};

TEST_F(UpdatePackageWindowTest, PackageIsAppliedAndCloseFreesTheOneWindow) {
  const std::string package = WritePackage(folder_.File("drive/atualizacao.dat"));
  TfrmUpdate* window =
      TfrmUpdate::StartUpdate(TUpdateKind::Package, nullptr, *collection_, QString::fromStdString(package));
  ASSERT_EQ(window, TfrmUpdate::Instance());
  EXPECT_EQ(TfrmUpdateBase::UpdateKind(), TUpdateKind::Package);
  // A second start only brings the running window up.
  EXPECT_EQ(TfrmUpdate::StartUpdate(TUpdateKind::LocalFile, nullptr, *collection_), window);
  EXPECT_EQ(window->Update().UpdateKind(), TUpdateKind::Package);

  ASSERT_TRUE(RunUntil([&] { return window->Update().Finished(); }));
  EXPECT_TRUE(window->Update().Completed()) << LogText(*window).toStdString();
  EXPECT_TRUE(LogText(*window).endsWith("! Concluído."));
  EXPECT_EQ(TreeDump(Data()), TreeDump(New()));
  QPushButton* close = window->findChild<QPushButton*>("HideButton");
  EXPECT_EQ(close->text(), "Fechar");
  const int reloadsBeforeClose = reloads_;
  close->click();
  ASSERT_TRUE(RunUntil([] { return TfrmUpdate::Instance() == nullptr; }));
  EXPECT_EQ(reloads_, reloadsBeforeClose);  // completed: the saved tree is the one in memory
  EXPECT_EQ(TfrmUpdateBase::UpdateKind(), TUpdateKind::None);
}

TEST_F(UpdatePackageWindowTest, UpdateThatFailsReloadsTheTreeWhenClosed) {
  WriteWholeFile(folder_.File("bad.dat"), "não é pacote\n\n");
  TfrmUpdate* window =
      TfrmUpdate::StartUpdate(TUpdateKind::Package, nullptr, *collection_, QString::fromStdString(folder_.File("bad.dat")));
  ASSERT_TRUE(RunUntil([&] { return window->Update().Finished(); }));
  EXPECT_FALSE(window->Update().Completed());
  EXPECT_EQ(errors_, 1);
  EXPECT_TRUE(LogText(*window).contains("Formato de arquivo inválido"));
  // The window says it failed, and why, and can only be closed.
  EXPECT_EQ(window->findChild<QLabel*>("Headline")->text(), "A operação falhou");
  EXPECT_EQ(window->findChild<QLabel*>("ErrorLine")->text(), "Formato de arquivo inválido");
  EXPECT_FALSE(window->findChild<QPushButton*>("CancelButton")->isEnabled());
  EXPECT_EQ(window->findChild<QPushButton*>("HideButton")->text(), "Fechar");
  const int reloads = reloads_;
  window->findChild<QPushButton*>("HideButton")->click();
  ASSERT_TRUE(RunUntil([] { return TfrmUpdate::Instance() == nullptr; }));
  EXPECT_EQ(reloads_, reloads + 1);
}

TEST_F(UpdatePackageWindowTest, EachKindGetsItsOwnUpdateWhichTakesTheKindOnlyWhenStarted) {
  for (const TUpdateKind kind : {TUpdateKind::Internet, TUpdateKind::LocalFile, TUpdateKind::Removable,
                                 TUpdateKind::Package}) {
    TfrmUpdate window(kind, *collection_, nullptr);
    const bool internet = kind == TUpdateKind::Internet;
    EXPECT_EQ(window.Internet() != nullptr, internet);
    EXPECT_EQ(window.Package() != nullptr, !internet);
    EXPECT_EQ(window.Update().UpdateKind(), TUpdateKind::None);
  }
  EXPECT_EQ(TfrmUpdateBase::UpdateKind(), TUpdateKind::None);
}

TEST_F(UpdatePackageWindowTest, ChosenPackageFileIsApplied) {
  auto* window = new TTestUpdateWindow(TUpdateKind::LocalFile, *collection_, nullptr);
  window->ChosenFile = QString::fromStdString(WritePackage(folder_.File("escolhido/pacote.dat")));
  window->Start();
  EXPECT_EQ(TfrmUpdateBase::UpdateKind(), TUpdateKind::LocalFile);
  ASSERT_TRUE(RunUntil([&] { return window->Update().Finished(); }));
  EXPECT_TRUE(window->Update().Completed());
  delete window;
}

TEST_F(UpdatePackageWindowTest, DialogCancelledLeavesTheWindowToBeCancelledAndClosed) {
  QPointer<TTestUpdateWindow> window = new TTestUpdateWindow(TUpdateKind::LocalFile, *collection_, nullptr);
  window->Start();
  EXPECT_EQ(TfrmUpdateBase::UpdateKind(), TUpdateKind::LocalFile);
  window->findChild<QPushButton*>("CancelButton")->click();
  EXPECT_EQ(window->findChild<QPushButton*>("HideButton")->text(), "Fechar");
  window->findChild<QPushButton*>("HideButton")->click();
  ASSERT_TRUE(RunUntil([&] { return window.isNull(); }));
}

TEST_F(UpdatePackageWindowTest, RemovableMediumIsSearchedAndAskedForUntilCancel) {
  const std::string media = folder_.File("media");
  std::filesystem::create_directories(media + "/VAZIO");
  QPointer<TTestUpdateWindow> empty = new TTestUpdateWindow(TUpdateKind::Removable, *collection_, nullptr);
  empty->SetMediaFolders({media + "/VAZIO"});
  empty->Start();
  EXPECT_EQ(empty->MediumPrompts, 1);
  ASSERT_TRUE(RunUntil([&] { return empty.isNull(); }));

  WritePackage(media + "/PENDRIVE/atualizacao.dat");
  auto* found = new TTestUpdateWindow(TUpdateKind::Removable, *collection_, nullptr);
  found->SetMediaFolders({media + "/VAZIO", media + "/PENDRIVE"});
  found->Start();
  ASSERT_TRUE(RunUntil([&] { return found->Update().Finished(); }));
  EXPECT_TRUE(found->Update().Completed());
  EXPECT_EQ(found->MediumPrompts, 0);
  delete found;
}

}  // namespace
