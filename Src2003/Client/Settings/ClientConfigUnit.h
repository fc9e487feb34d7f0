#pragma once

// TfrmClientConfig: the modal dialog where the user sees and changes the
// settings a user may change (data and word index folders, update address,
// download folder, proxy), and the program's "Sobre" page.
//
//   TfrmClientConfig::ShowConfig(TfrmClientConfig::TPage::Installation, &collection, mainWindow);
//
// "Aplicar" is enabled exactly while the fields hold changes not yet
// applied; closing with such changes asks first. Applying stores the fields
// (an emptied field stores the empty text, so its default applies again),
// then moves the document folder to the data folder and reloads the tree.
// Controls carry their names as objectName: PageControl, InstallationPage,
// UpdatePage, AboutPage, BannerPanel, ProgramFolder, DataFolder, ExtraFolder,
// DataFolderButton, ExtraFolderButton, UpdateURL, ProxyServer, ProxyPort,
// ProxyUserName, ProxyPassword, DownloadFolder, DownloadFolderButton,
// VersionMemo, CloseButton, ApplyButton.

#include <map>
#include <string>
#include <utility>
#include <vector>

#include <QDialog>
#include <QString>

#include "ConfigUnit.h"

class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class TInstalledCollection;

class TfrmClientConfig : public QDialog {
  Q_OBJECT

 public:
  enum class TPage { Installation, Update, About };

  static constexpr char kCaption[] = "TO-MO 2.0: Configurações";
  static constexpr char kCloseTitle[] = "Confirmar fechamento";
  static constexpr char kCloseQuestion[] = "Tem certeza de que deseja fechar sem aplicar as alterações?";
  static constexpr int kClientWidth = 354;
  static constexpr int kClientHeight = 374;

  // `collection` (may be nullptr) follows the data folder after applying.
  explicit TfrmClientConfig(TInstalledCollection* collection, QWidget* parent = nullptr);
  ~TfrmClientConfig() override;

  // Creates the dialog on `page`, shows it modally and frees it.
  static void ShowConfig(TPage page, TInstalledCollection* collection, QWidget* parent);
  // The dialog on its "Sobre" page with nothing that can be applied: while
  // an operation works with the folders, the settings stay as they are.
  static void ShowAboutOnly(QWidget* parent);

  void SelectPage(TPage page);
  // Only the "Sobre" page can be chosen; "Aplicar" is gone.
  void LockSettings();

  // Stores the fields, then the document folder and the tree follow the data
  // folder. A data folder that does not exist is reported by raising after
  // the settings are stored; the tree is then not reloaded.
  void ApplyButtonClick();
  // "Fechar", Esc and the close box: asks first while changes are unapplied.
  void reject() override;

  // The "Sobre" text before the module lines.
  static std::string AboutText();

 private:
  void CreateControls();
  QWidget* CreateInstallationPage();
  QWidget* CreateUpdatePage();
  QWidget* CreateAboutPage();
  QWidget* CreateBanner(QWidget* page);
  QLineEdit* CreateField(const char* name, QWidget* parent);
  QWidget* CreateFolderField(QLineEdit* field, const char* buttonName, bool mayCreateFolder, QWidget* parent);
  void FillFields();
  void FillVersions();
  void PickFolder(QLineEdit& field, bool mayCreateFolder);
  void FieldChanged();
  // The edited fields with their settings, in the order they are stored.
  std::vector<std::pair<QLineEdit*, TTOMOSetting>> BoundFields() const;
  bool HasUnappliedChanges() const;

  TInstalledCollection* collection_;
  QTabWidget* pageControl_ = nullptr;
  QLineEdit* programFolder_ = nullptr;
  QLineEdit* dataFolder_ = nullptr;
  QLineEdit* extraFolder_ = nullptr;
  QLineEdit* updateURL_ = nullptr;
  QLineEdit* proxyServer_ = nullptr;
  QLineEdit* proxyPort_ = nullptr;
  QLineEdit* proxyUserName_ = nullptr;
  QLineEdit* proxyPassword_ = nullptr;
  QLineEdit* downloadFolder_ = nullptr;
  QPlainTextEdit* versionMemo_ = nullptr;
  QPushButton* closeButton_ = nullptr;
  QPushButton* applyButton_ = nullptr;
  // What each edited field showed when filled or last applied.
  std::map<QLineEdit*, QString> shownTexts_;
  // Set while the fields are filled from the settings: no change to apply.
  bool filling_ = false;
};
