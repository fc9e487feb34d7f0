// The configuration dialog on its real widgets: fields filled from the
// settings, "Aplicar" following unapplied changes, the closing question, and
// the "Sobre" page.

#include <memory>
#include <string>

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTabWidget>
#include <QRegularExpression>
#include <QTimer>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "ClientConfigUnit.h"
#include "ClientTestBase.h"
#include "ConfigUnit.h"
#include "DocumentBaseUnit.h"
#include "InstalledCollection.h"
#include "LxConfigStore.h"
#include "TempFolder.h"
#include "TOMODocumentSet.h"
#include "TOMOTree.h"

namespace {

class ConfigDialogTest : public ClientTest {
 protected:
  void SetUp() override {
    ClientTest::SetUp();
    AddFolder(1, 0, "Leis");
    SaveIndex();
    Config().SetString(ProgramFolder, "/opt/pandecta");
  }

  TfrmClientConfig& OpenDialog() {
    dialog_ = std::make_unique<TfrmClientConfig>(&collection_);
    dialog_->show();
    QCoreApplication::processEvents();
    return *dialog_;
  }
  QLineEdit& Field(const char* name) { return *dialog_->findChild<QLineEdit*>(name); }
  QPushButton& Button(const char* name) { return *dialog_->findChild<QPushButton*>(name); }
  void PressEscape() {
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(dialog_.get(), &escape);
  }

  TInstalledCollection collection_{[] { return Config().GetString(::DataFolder); }, []() -> TWordIndex* { return nullptr; }};
  std::unique_ptr<TfrmClientConfig> dialog_;
};

TEST_F(ConfigDialogTest, FieldsShowTheSettingsAndTheirDefaults) {
  Config().SetString(ProxyServer, "proxy.local");
  Config().SetString(ProxyPassword, "segredo");
  Config().SetString(DownloadFolder, "");
  TfrmClientConfig& dialog = OpenDialog();
  EXPECT_EQ(dialog.windowTitle(), "TO-MO 2.0: Configurações");
  EXPECT_EQ(Field("ProgramFolder").text(), "/opt/pandecta");
  EXPECT_TRUE(Field("ProgramFolder").isReadOnly());
  EXPECT_EQ(Field("DataFolder").text().toStdString(), DataFolder());
  EXPECT_EQ(Field("DownloadFolder").text(), "/opt/pandecta/Download");
  EXPECT_EQ(Field("ProxyServer").text(), "proxy.local");
  EXPECT_EQ(Field("ProxyPassword").text(), "segredo");
  EXPECT_EQ(Field("ProxyPassword").echoMode(), QLineEdit::Password);
  EXPECT_FALSE(Button("ApplyButton").isEnabled());
  EXPECT_TRUE(Button("ApplyButton").isDefault());
}

TEST_F(ConfigDialogTest, OpeningAndClosingWithoutChangesAsksNothing) {
  TfrmClientConfig& dialog = OpenDialog();
  Button("CloseButton").click();
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_TRUE(prompts_.Questions().empty());
}

TEST_F(ConfigDialogTest, ChangeThenEscAsksAndNoKeepsTheDialogWithTheChange) {
  TfrmClientConfig& dialog = OpenDialog();
  Field("ProxyPort").setText("3128");
  EXPECT_TRUE(Button("ApplyButton").isEnabled());
  prompts_.AddAnswer(false);
  PressEscape();
  ASSERT_EQ(prompts_.Questions().size(), 1u);
  EXPECT_EQ(prompts_.Questions()[0], "Tem certeza de que deseja fechar sem aplicar as alterações?");
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_EQ(Field("ProxyPort").text(), "3128");
  EXPECT_EQ(Config().GetString(ProxyPort), "");

  // Yes closes and drops the change.
  prompts_.AddAnswer(true);
  PressEscape();
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(Config().GetString(ProxyPort), "");
}

TEST_F(ConfigDialogTest, ApplyFollowsUnappliedChangesExactly) {
  OpenDialog();
  Field("ProxyUserName").setText("ana");
  EXPECT_TRUE(Button("ApplyButton").isEnabled());
  // Typed back to what it was: nothing left to apply.
  Field("ProxyUserName").setText("");
  EXPECT_FALSE(Button("ApplyButton").isEnabled());

  Field("ProxyUserName").setText("ana");
  Field("ProxyPassword").setText("s3nh@");
  Button("ApplyButton").click();
  EXPECT_FALSE(Button("ApplyButton").isEnabled());
  EXPECT_EQ(Config().GetString(ProxyUserName), "ana");
  EXPECT_EQ(Config().GetString(ProxyPassword), "s3nh@");
  // Fields left alone keep following the program folder.
  Config().SetString(ProgramFolder, "/srv/pandecta");
  EXPECT_EQ(Config().GetString(DownloadFolder), "/srv/pandecta/Download");
  Button("CloseButton").click();
  EXPECT_TRUE(prompts_.Questions().empty());
}

TEST_F(ConfigDialogTest, EmptiedDataFolderStoresTheEmptyTextAndShowsTheDefaultAgain) {
  OpenDialog();
  Field("DataFolder").setText("");
  // The default folder does not exist here: the error is shown after storing.
  Button("ApplyButton").click();
  ASSERT_EQ(errors_.size(), 1u);
  EXPECT_EQ(errors_[0].Message, "Diretório não existente");
  EXPECT_TRUE(dialog_->isVisible());
  // The empty text was stored: the folder is the default again, and follows
  // the program folder.
  EXPECT_EQ(Config().GetString(::DataFolder), "/opt/pandecta/Dados");
  Config().SetString(ProgramFolder, "/srv/pandecta");
  EXPECT_EQ(Config().GetString(::DataFolder), "/srv/pandecta/Dados");
  Config().SetString(ProgramFolder, "/opt/pandecta");
  dialog_.reset();
  OpenDialog();
  EXPECT_EQ(Field("DataFolder").text(), "/opt/pandecta/Dados");
}

TEST_F(ConfigDialogTest, ApplyingMovesTheDocumentFolderAndReloadsTheTree) {
  collection_.LoadTree();
  int reloads = 0;
  QObject::connect(&collection_, &TInstalledCollection::TreeReplaced, [&reloads] { ++reloads; });
  OpenDialog();
  const std::string other = DataFolder() + "2";
  std::filesystem::create_directories(other);
  std::filesystem::copy_file(IndexFile(), other + "/TOMOIdx.dat");
  Field("DataFolder").setText(QString::fromStdString(other));
  Button("ApplyButton").click();
  EXPECT_EQ(DocumentFolder()->Folder(), other);
  EXPECT_EQ(reloads, 1);

  // A folder that does not exist: stored, reported, and the tree stays.
  Field("DataFolder").setText("/nao/existe");
  EXPECT_ANY_THROW(dialog_->ApplyButtonClick());
  EXPECT_EQ(Config().GetString(::DataFolder), "/nao/existe");
  EXPECT_FALSE(Button("ApplyButton").isEnabled());
  EXPECT_EQ(reloads, 1);
}

TEST_F(ConfigDialogTest, ProxyPasswordGoesOnlyToAnOwnerOnlySettingsFile) {
  TempFolder home;
  const std::string file = home.File("Pandecta.conf");
  auto previous = ReplaceConfig(std::make_unique<TTOMOConfig>(std::make_unique<TLxSettingsConfigStore>(file)));
  Config().SetString(::DataFolder, DataFolder());
  OpenDialog();
  Field("ProxyPassword").setText("s3gr3d0");
  Button("ApplyButton").click();
  dialog_.reset();
  ReplaceConfig(std::move(previous));

  namespace fs = std::filesystem;
  const fs::perms others = fs::perms::group_all | fs::perms::others_all;
  EXPECT_EQ(fs::status(file).permissions() & others, fs::perms::none);
  std::ifstream stored(file);
  const std::string text((std::istreambuf_iterator<char>(stored)), std::istreambuf_iterator<char>());
  EXPECT_NE(text.find("s3gr3d0"), std::string::npos);
}

TEST_F(ConfigDialogTest, AboutPageListsTheProgramAndItsLibraries) {
  TfrmClientConfig& dialog = OpenDialog();
  dialog.SelectPage(TfrmClientConfig::TPage::About);
  EXPECT_EQ(dialog.findChild<QTabWidget*>("PageControl")->currentWidget()->objectName(), "AboutPage");
  const QString text = dialog.findChild<QPlainTextEdit*>("VersionMemo")->toPlainText();
  EXPECT_TRUE(text.startsWith("Pandecta\n\nDesenvolvido por:\n"));
  EXPECT_TRUE(text.contains("Versões dos Arquivos:\n\t"));
  EXPECT_TRUE(text.contains(QRegularExpression("\tlibQt6Core\\.so[.0-9]*: 6\\.\\d+\\.\\d+\\.\\d+")));
}

}  // namespace
