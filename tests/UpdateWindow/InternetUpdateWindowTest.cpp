// The Internet update in TfrmUpdate with the real widgets, against lighttpd
// on 127.0.0.1: the log and the node list the user watches, and the close
// that reloads the installed tree (an Internet update never marks itself
// completed; its batches are saved as they go).
#include <filesystem>
#include <functional>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeWidget>

#include "ConfigUnit.h"
#include "DocumentFileName.h"
#include "ErrorDisplay.h"
#include "HttpTestServers.h"
#include "InstalledCollection.h"
#include "OperationTestSupport.h"
#include "PackageTestSupport.h"
#include "TOMODocumentSet.h"
#include "InternetUpdate.h"
#include "UpdateUnit.h"

namespace fs = std::filesystem;

namespace {

class InternetUpdateWindowTest : public OperationTest {
 protected:
  void SetUp() override {
    OperationTest::SetUp();
    SetErrorPresenter([this](const TErrorReport&) { ++errors_; });
    GenerateSmallBase(Data());
    CopyFolder(Data(), New());
    ReplaceDocument(New(), DocumentEntries(Data()).begin()->first, "janela", NewerDate());
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
  std::string Layout() const { return folder_.File("www/atualizacao"); }

  void WriteLayout(const std::string& base) {
    fs::create_directories(Layout());
    WriteWholeFile(Layout() + "/tomoidxz.dat", ZlibBlock(ReadWholeFile(base + "/TOMOIdx.dat")));
    for (const auto& [id, number] : DocumentEntries(base)) {
      const std::string target = TInternetUpdate::LowerCaseURL(DocumentFileName(Layout(), number));
      fs::create_directories(fs::path(target).parent_path());
      fs::copy_file(DocumentFileName(base, number), target, fs::copy_options::overwrite_existing);
    }
  }

  static bool RunUntil(const std::function<bool()>& done, int timeoutMs = 20'000) {
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < timeoutMs) {
      QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
      QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    return done();
  }

  static QString LogText(TfrmUpdate& window) {
    return window.findChild<QPlainTextEdit*>("RichEdit")->toPlainText();
  }

  std::unique_ptr<TTOMODocumentFolder> documents_;
  std::unique_ptr<TInstalledCollection> collection_;
  int errors_ = 0;
  int reloads_ = 0;
};

TEST_F(InternetUpdateWindowTest, UpdatesFromTheServerAndReloadsTheTreeWhenClosed) {
  WriteLayout(New());
  TLighttpd server(folder_.File("www"), false);
  ASSERT_TRUE(server.Start()) << server.Error();
  Config().SetString(::UpdateURL, server.Url("/atualizacao"));

  TfrmUpdate* window = TfrmUpdate::StartUpdate(TUpdateKind::Internet, nullptr, *collection_);
  EXPECT_EQ(TfrmUpdateBase::UpdateKind(), TUpdateKind::Internet);
  ASSERT_TRUE(RunUntil([&] { return window->Update().Finished(); }));
  const QString log = LogText(*window);
  EXPECT_TRUE(log.endsWith(QString::fromUtf8("!! Atualização concluída com êxito."))) << log.toStdString();
  EXPECT_TRUE(log.contains(QString::fromUtf8("! 1 documentos copiados")));
  EXPECT_EQ(errors_, 0);
  auto* nodes = window->findChild<QTreeWidget*>("TreeView");
  ASSERT_EQ(nodes->topLevelItemCount(), 1);
  EXPECT_EQ(TreeDump(Data()), TreeDump(New()));
  EXPECT_EQ(DocumentBody(Data(), DocumentEntries(New()).begin()->second),
            DocumentBody(New(), DocumentEntries(New()).begin()->second));

  QPushButton* close = window->findChild<QPushButton*>("HideButton");
  EXPECT_EQ(close->text(), "Fechar");
  const int reloads = reloads_;
  close->click();
  ASSERT_TRUE(RunUntil([] { return TfrmUpdate::Instance() == nullptr; }));
  EXPECT_EQ(reloads_, reloads + 1);
  EXPECT_EQ(TfrmUpdateBase::UpdateKind(), TUpdateKind::None);
}

TEST_F(InternetUpdateWindowTest, NothingToUpdateShowsItInTheNodeList) {
  WriteLayout(Data());
  TLighttpd server(folder_.File("www"), false);
  ASSERT_TRUE(server.Start()) << server.Error();
  Config().SetString(::UpdateURL, server.Url("/ATUALIZACAO"));
  TfrmUpdate* window = TfrmUpdate::StartUpdate(TUpdateKind::Internet, nullptr, *collection_);
  ASSERT_TRUE(RunUntil([&] { return window->Update().Finished(); }));
  EXPECT_TRUE(LogText(*window).contains("! Nada a atualizar.")) << LogText(*window).toStdString();
  auto* nodes = window->findChild<QTreeWidget*>("TreeView");
  ASSERT_EQ(nodes->topLevelItemCount(), 1);
  EXPECT_EQ(nodes->topLevelItem(0)->text(0), "Nada a atualizar");
}

}  // namespace
