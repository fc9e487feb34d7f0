#include "ClientConfigUnit.h"

#include <QDir>
#include <QFileDialog>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include "ConfigUnit.h"
#include "ErrorDisplay.h"
#include "InstalledCollection.h"
#include "ModuleVersions.h"
#include "Prompts.h"
#include "QtText.h"

#ifndef PANDECTA_VERSION
#define PANDECTA_VERSION "2.0"
#endif

namespace {

constexpr int kBannerWidth = 337;
constexpr int kBannerHeight = 117;
constexpr int kPortFieldWidth = 60;
constexpr int kTabStopBlanks = 4;
constexpr char kBannerImage[] = ":/pandecta/splash.png";
constexpr char kPickerCaption[] = "...";

// The program's version as four numbers, as the module lines show versions.
std::string ProgramVersion() {
  std::string version = PANDECTA_VERSION;
  int parts = 1;
  for (char c : version) parts += c == '.' ? 1 : 0;
  for (; parts < 4; ++parts) version += ".0";
  return version;
}

}  // namespace

TfrmClientConfig::TfrmClientConfig(TInstalledCollection* collection, QWidget* parent)
    : QDialog(parent), collection_(collection) {
  setObjectName("frmClientConfig");
  setWindowTitle(Utf8ToQString(kCaption));
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
  CreateControls();
  FillVersions();
  FillFields();
  applyButton_->setEnabled(false);
}

TfrmClientConfig::~TfrmClientConfig() = default;

void TfrmClientConfig::ShowConfig(TPage page, TInstalledCollection* collection, QWidget* parent) {
  TfrmClientConfig dialog(collection, parent);
  dialog.SelectPage(page);
  dialog.exec();
}

void TfrmClientConfig::ShowAboutOnly(QWidget* parent) {
  TfrmClientConfig dialog(nullptr, parent);
  dialog.LockSettings();
  dialog.exec();
}

void TfrmClientConfig::LockSettings() {
  SelectPage(TPage::About);
  for (const TPage page : {TPage::Installation, TPage::Update}) {
    pageControl_->setTabEnabled(static_cast<int>(page), false);
  }
  applyButton_->setEnabled(false);
  applyButton_->hide();
}

void TfrmClientConfig::SelectPage(TPage page) { pageControl_->setCurrentIndex(static_cast<int>(page)); }

std::string TfrmClientConfig::AboutText() {
  return "Pandecta\n"
         "\n"
         "Desenvolvido por:\n"
         "\tEquipe de desenvolvimento do Pandecta\n"
         "\tLeitor, índice de palavras e atualizações\n"
         "\n"
         "Versões dos Arquivos:";
}

// --- Controls ----------------------------------------------------------------------

void TfrmClientConfig::CreateControls() {
  pageControl_ = new QTabWidget(this);
  pageControl_->setObjectName("PageControl");
  pageControl_->addTab(CreateInstallationPage(), QStringLiteral("Instalação"));
  pageControl_->addTab(CreateUpdatePage(), QStringLiteral("Atualização"));
  pageControl_->addTab(CreateAboutPage(), QStringLiteral("Sobre"));

  closeButton_ = new QPushButton(QStringLiteral("Fechar"), this);
  closeButton_->setObjectName("CloseButton");
  closeButton_->setAutoDefault(false);
  applyButton_ = new QPushButton(QStringLiteral("Aplicar"), this);
  applyButton_->setObjectName("ApplyButton");
  applyButton_->setDefault(true);
  connect(closeButton_, &QPushButton::clicked, this, &TfrmClientConfig::reject);
  connect(applyButton_, &QPushButton::clicked, this, [this] {
    // A data folder that does not exist is reported; the dialog stays open.
    try {
      ApplyButtonClick();
    } catch (...) {
      ShowCurrentError();
    }
  });

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(closeButton_);
  buttons->addWidget(applyButton_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(pageControl_);
  layout->addLayout(buttons);
  // Fixed like the dialog it is; a larger font makes it grow rather than clip.
  setFixedSize(QSize(kClientWidth, kClientHeight).expandedTo(sizeHint()));
}

QWidget* TfrmClientConfig::CreateBanner(QWidget* page) {
  auto* banner = new QLabel(page);
  banner->setObjectName("BannerPanel");
  banner->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  banner->setFixedSize(kBannerWidth, kBannerHeight);
  banner->setScaledContents(true);
  banner->setPixmap(QPixmap(QString::fromLatin1(kBannerImage)));
  return banner;
}

QLineEdit* TfrmClientConfig::CreateField(const char* name, QWidget* parent) {
  auto* field = new QLineEdit(parent);
  field->setObjectName(name);
  connect(field, &QLineEdit::textChanged, this, &TfrmClientConfig::FieldChanged);
  return field;
}

QWidget* TfrmClientConfig::CreateFolderField(QLineEdit* field, const char* buttonName, bool mayCreateFolder,
                                             QWidget* parent) {
  auto* row = new QWidget(parent);
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  auto* button = new QToolButton(row);
  button->setObjectName(buttonName);
  button->setText(QString::fromLatin1(kPickerCaption));
  connect(button, &QToolButton::clicked, this, [this, field, mayCreateFolder] { PickFolder(*field, mayCreateFolder); });
  field->setParent(row);
  layout->addWidget(field);
  layout->addWidget(button);
  return row;
}

QWidget* TfrmClientConfig::CreateInstallationPage() {
  auto* page = new QWidget;
  page->setObjectName("InstallationPage");
  programFolder_ = new QLineEdit(page);
  programFolder_->setObjectName("ProgramFolder");
  programFolder_->setReadOnly(true);
  dataFolder_ = CreateField("DataFolder", page);
  extraFolder_ = CreateField("ExtraFolder", page);

  auto* form = new QFormLayout;
  form->addRow(QStringLiteral("Arquivos de Programa:"), programFolder_);
  form->addRow(QStringLiteral("Pasta de dados:"), CreateFolderField(dataFolder_, "DataFolderButton", false, page));
  form->addRow(QStringLiteral("Índice:"), CreateFolderField(extraFolder_, "ExtraFolderButton", false, page));
  auto* layout = new QVBoxLayout(page);
  layout->addWidget(CreateBanner(page), 0, Qt::AlignHCenter);
  layout->addLayout(form);
  layout->addStretch();
  return page;
}

QWidget* TfrmClientConfig::CreateUpdatePage() {
  auto* page = new QWidget;
  page->setObjectName("UpdatePage");
  updateURL_ = CreateField("UpdateURL", page);
  downloadFolder_ = CreateField("DownloadFolder", page);

  auto* proxy = new QGroupBox(QStringLiteral(" Proxy "), page);
  proxyServer_ = CreateField("ProxyServer", proxy);
  proxyPort_ = CreateField("ProxyPort", proxy);
  proxyPort_->setFixedWidth(kPortFieldWidth);
  proxyUserName_ = CreateField("ProxyUserName", proxy);
  proxyPassword_ = CreateField("ProxyPassword", proxy);
  proxyPassword_->setEchoMode(QLineEdit::Password);
  // One "*" per character, whatever the style would draw.
  proxyPassword_->setStyleSheet(QStringLiteral("lineedit-password-character: 42;"));
  auto* grid = new QGridLayout(proxy);
  grid->addWidget(new QLabel(QStringLiteral("Servidor:"), proxy), 0, 0);
  grid->addWidget(proxyServer_, 0, 1);
  grid->addWidget(new QLabel(QStringLiteral("Porta:"), proxy), 0, 2);
  grid->addWidget(proxyPort_, 0, 3);
  grid->addWidget(new QLabel(QStringLiteral("Usuário:"), proxy), 1, 0);
  grid->addWidget(proxyUserName_, 1, 1);
  grid->addWidget(new QLabel(QStringLiteral("Senha:"), proxy), 1, 2);
  grid->addWidget(proxyPassword_, 1, 3);

  auto* form = new QFormLayout;
  form->addRow(QStringLiteral("URL:"), updateURL_);
  auto* folderForm = new QFormLayout;
  folderForm->addRow(QStringLiteral("Pasta Local:"),
                     CreateFolderField(downloadFolder_, "DownloadFolderButton", true, page));
  auto* layout = new QVBoxLayout(page);
  layout->addWidget(CreateBanner(page), 0, Qt::AlignHCenter);
  layout->addLayout(form);
  layout->addWidget(proxy);
  layout->addLayout(folderForm);
  layout->addStretch();
  return page;
}

QWidget* TfrmClientConfig::CreateAboutPage() {
  auto* page = new QWidget;
  page->setObjectName("AboutPage");
  versionMemo_ = new QPlainTextEdit(page);
  versionMemo_->setObjectName("VersionMemo");
  versionMemo_->setReadOnly(true);
  versionMemo_->setLineWrapMode(QPlainTextEdit::NoWrap);
  QPalette palette = versionMemo_->palette();
  palette.setColor(QPalette::Base, palette.color(QPalette::Button));
  versionMemo_->setPalette(palette);
  // The module lines are indented by a tab: a narrow one keeps them readable.
  versionMemo_->setTabStopDistance(versionMemo_->fontMetrics().horizontalAdvance(QLatin1Char(' ')) * kTabStopBlanks);
  auto* layout = new QVBoxLayout(page);
  layout->addWidget(CreateBanner(page), 0, Qt::AlignHCenter);
  layout->addWidget(versionMemo_);
  return page;
}

// --- Settings ----------------------------------------------------------------------

void TfrmClientConfig::FillVersions() {
  std::string text = AboutText();
  for (const TModuleVersion& module : LoadedModules(ProgramVersion())) text += "\n" + ModuleLine(module);
  versionMemo_->setPlainText(Utf8ToQString(text));
}

void TfrmClientConfig::FillFields() {
  filling_ = true;
  programFolder_->setText(Utf8ToQString(Config().GetString(ProgramFolder)));
  for (const auto& [field, setting] : BoundFields()) {
    field->setText(Utf8ToQString(Config().GetString(setting)));
    shownTexts_[field] = field->text();
  }
  filling_ = false;
}

std::vector<std::pair<QLineEdit*, TTOMOSetting>> TfrmClientConfig::BoundFields() const {
  return {{dataFolder_, DataFolder},   {extraFolder_, ExtraFolder},     {updateURL_, UpdateURL},
          {downloadFolder_, DownloadFolder}, {proxyServer_, ProxyServer}, {proxyPort_, ProxyPort},
          {proxyUserName_, ProxyUserName},   {proxyPassword_, ProxyPassword}};
}

bool TfrmClientConfig::HasUnappliedChanges() const {
  for (const auto& [field, setting] : BoundFields()) {
    if (field->text() != shownTexts_.at(field)) return true;
  }
  return false;
}

void TfrmClientConfig::FieldChanged() {
  if (!filling_) applyButton_->setEnabled(HasUnappliedChanges());
}

void TfrmClientConfig::ApplyButtonClick() {
  // Only what the user changed is stored: a folder still showing its default
  // keeps following the program folder instead of being pinned to today's.
  for (const auto& [field, setting] : BoundFields()) {
    if (field->text() == shownTexts_.at(field)) continue;
    Config().SetString(setting, field->text().toStdString());
    shownTexts_[field] = field->text();
  }
  applyButton_->setEnabled(false);
  if (collection_) collection_->FollowDataFolder();
}

void TfrmClientConfig::reject() {
  if (applyButton_->isEnabled() && !Prompts().AskYesNoTitled(kCloseTitle, kCloseQuestion)) return;
  QDialog::reject();
}

void TfrmClientConfig::PickFolder(QLineEdit& field, bool mayCreateFolder) {
  QFileDialog::Options options = QFileDialog::ShowDirsOnly;
  // The data and index folders hold what an installation or a build made:
  // the user points at them rather than making new ones here.
  if (!mayCreateFolder) options |= QFileDialog::ReadOnly;
  const QString folder = QFileDialog::getExistingDirectory(this, QString(), field.text(), options);
  if (!folder.isEmpty()) field.setText(QDir::toNativeSeparators(folder));
}
