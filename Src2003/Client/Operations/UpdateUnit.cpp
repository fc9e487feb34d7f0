#include "UpdateUnit.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QProcess>

#include "ErrorDisplay.h"
#include "InstalledCollection.h"
#include "LxExcept.h"
#include "UpdateOperation.h"
#include "UpdateSources.h"
#include "WordIndex.h"

namespace {

constexpr char kOpenDialogFilter[] =
    "Pandecta: Atualização (????_??_?.exe *.dat);;Todos os arquivos (*)";
constexpr char kNotAnUpdate[] = "O arquivo \"%s\" não é um arquivo de atualização.";

}  // namespace

QPointer<TfrmUpdate> TfrmUpdate::instance_;

TfrmUpdate::TfrmUpdate(TInstalledCollection& collection, QWidget* owner)
    : TfrmUpdateBase(std::make_unique<TUpdateOperation>(collection, WordIndex.get()), owner),
      collection_(&collection) {
  setObjectName("frmUpdate");
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

TfrmUpdate* TfrmUpdate::StartUpdate(int kind, QWidget* owner, TInstalledCollection& collection,
                                    const QString& argument) {
  if (!instance_) instance_ = new TfrmUpdate(collection, owner);
  TfrmUpdate* window = instance_.data();
  window->show();
  window->raise();
  // Only a new update starts from an empty LocalFile: the running one may
  // not have opened its package yet.
  if (window->Update().UpdateKind() != 0) return window;
  window->Update().SetLocalFile({});
  window->Start(kind, argument);
  return instance_.data();
}

void TfrmUpdate::Start(int kind, const QString& argument) {
  switch (kind) {
    case TUpdateOperation::kKindPackage:
      Update().StartPackage(argument.toStdString());
      break;
    case TUpdateOperation::kKindLocalFile:
      Update().SetUpdateKind(kind);
      StartFromFile();
      break;
    case TUpdateOperation::kKindRemovable:
      Update().SetUpdateKind(kind);
      StartFromMedium();
      break;
    case TUpdateOperation::kKindInternet:
      Update().StartInternet();
      break;
    default:
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
    Update().SetLocalFile(file);
    Update().PostStep(WM_OPERATIONSTEP, TUpdateOperation::kStateStart, 0);
    return true;
  }
  const QFileInfo info(path);
  if (!IsUpdateProgramName(info.fileName().toStdString()) || !info.isExecutable()) return false;
  Update().SetLocalFile(file);
  if (!QProcess::startDetached(path, {})) return false;
  QApplication::quit();
  ReleaseNow();
  return true;
}

void TfrmUpdate::ReleaseNow() {
  Update().SetUpdateKind(0);
  hide();
  deleteLater();
}
