#include "UpdateUnit.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QProcess>

#include "ErrorDisplay.h"
#include "InstalledCollection.h"
#include "LxExcept.h"
#include "InternetUpdate.h"
#include "PackageUpdate.h"
#include "UpdateSources.h"
#include "WordIndex.h"

namespace {

constexpr char kOpenDialogFilter[] =
    "Pandecta: Atualização (????_??_?.exe *.dat);;Todos os arquivos (*)";
constexpr char kNotAnUpdate[] = "O arquivo \"%s\" não é um arquivo de atualização.";

// Kind 1 brings the base up to the server's; every other kind applies a
// package.
std::unique_ptr<TUpdateOperation> MakeUpdate(TUpdateKind kind, TInstalledCollection& collection) {
  if (kind == TUpdateKind::Internet) return std::make_unique<TInternetUpdate>(collection, WordIndex.get());
  return std::make_unique<TPackageUpdate>(collection, WordIndex.get());
}

}  // namespace

QPointer<TfrmUpdate> TfrmUpdate::instance_;

TfrmUpdate::TfrmUpdate(TUpdateKind kind, TInstalledCollection& collection, QWidget* owner)
    : TfrmUpdateBase(MakeUpdate(kind, collection), owner), kind_(kind), collection_(&collection) {
  setObjectName("frmUpdate");
  package_ = dynamic_cast<TPackageUpdate*>(&Operation());
  internet_ = dynamic_cast<TInternetUpdate*>(&Operation());
}

TfrmUpdate::~TfrmUpdate() {
  if (Update().Completed() || !collection_) return;
  try {
    collection_->LoadTree();
  } catch (...) {
    ShowCurrentError();
  }
}

TfrmUpdate* TfrmUpdate::Instance() { return instance_.data(); }

TUpdateOperation& TfrmUpdate::Update() const { return static_cast<TUpdateOperation&>(Operation()); }

TfrmUpdate* TfrmUpdate::StartUpdate(TUpdateKind kind, QWidget* owner, TInstalledCollection& collection,
                                    const QString& argument) {
  TfrmUpdate* window = instance_.data();
  // A window whose update has a kind runs it: it is only brought up. One
  // without is on its way out.
  const bool running = window && window->Update().UpdateKind() != TUpdateKind::None;
  if (!running) {
    window = new TfrmUpdate(kind, collection, owner);
    instance_ = window;
  }
  window->show();
  window->raise();
  if (running) return window;
  window->Start(argument);
  return instance_.data();
}

void TfrmUpdate::Start(const QString& argument) {
  switch (kind_) {
    case TUpdateKind::Package:
      package_->StartPackage(argument.toStdString());
      break;
    case TUpdateKind::LocalFile:
      Update().SetUpdateKind(kind_);
      StartFromFile();
      break;
    case TUpdateKind::Removable:
      Update().SetUpdateKind(kind_);
      StartFromMedium();
      break;
    case TUpdateKind::Internet:
      internet_->Start();
      break;
    case TUpdateKind::None:
      break;
  }
}

QString TfrmUpdate::AskForUpdateFile() {
  QFileDialog dialog(this, QString::fromUtf8(kOpenDialogTitle), {}, QString::fromUtf8(kOpenDialogFilter));
  dialog.setObjectName("OpenDialog");
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setDefaultSuffix("dat");
  return dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty() ? dialog.selectedFiles().front()
                                                                                 : QString();
}

bool TfrmUpdate::AskForMedium() {
  return QMessageBox::information(this, QString::fromUtf8(kNoMediumCaption), QString::fromUtf8(kNoMediumMessage),
                                  QMessageBox::Ok | QMessageBox::Cancel) == QMessageBox::Ok;
}

// A cancelled dialog leaves the window with its kind set: Cancel, then
// "Fechar", dismiss it.
void TfrmUpdate::StartFromFile() {
  const QString path = AskForUpdateFile();
  if (path.isEmpty()) return;
  if (!UseUpdateFile(path)) {
    QMessageBox::warning(this, windowTitle(), QString::fromUtf8(FormatMessage(kNotAnUpdate, path.toUtf8().constData())));
  }
}

void TfrmUpdate::StartFromMedium() {
  for (;;) {
    const std::string found = FindUpdateOnMedia(mediaFoldersGiven_ ? mediaFolders_ : RemovableMediaFolders());
    if (!found.empty() && UseUpdateFile(QString::fromStdString(found))) return;
    if (!AskForMedium()) break;
  }
  ReleaseNow();
}

bool TfrmUpdate::UseUpdateFile(const QString& path) {
  const std::string file = path.toStdString();
  if (IsUpdatePackageFile(file)) {
    package_->ApplyFile(file);
    return true;
  }
  const QFileInfo info(path);
  if (!IsUpdateProgramName(info.fileName().toStdString()) || !info.isExecutable()) return false;
  package_->SetLocalFile(file);
  if (!QProcess::startDetached(path, {})) return false;
  QApplication::quit();
  ReleaseNow();
  return true;
}

void TfrmUpdate::ReleaseNow() {
  Update().SetUpdateKind(TUpdateKind::None);
  hide();
  deleteLater();
}
