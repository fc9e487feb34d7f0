#include "FirstStart.h"

#include <string>

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include "ClientMainUnit.h"
#include "ConfigUnit.h"
#include "DemoCollection.h"
#include "ErrorDisplay.h"
#include "LxFilUtl.h"
#include "MessageBoxPrompts.h"
#include "QtText.h"

namespace {

constexpr char kInternetUpdateAction[] = "UpdateInternetAction";

enum class TAnswer { Demo, Internet, Cancel };

TAnswer AskFirstCollection(const std::string& dataFolder, bool demoAvailable) {
  QString text = QStringLiteral("Nenhuma coleção de documentos foi encontrada em \"%1\".\n\n")
                     .arg(Utf8ToQString(dataFolder));
  text += demoAvailable ? QStringLiteral("Deseja instalar a coleção de demonstração ou obter a coleção "
                                         "pela Internet?")
                        : QStringLiteral("Deseja obter a coleção pela Internet?");
  QMessageBox box(QMessageBox::Question, QString::fromLatin1(kProgramCaption), text);
  QPushButton* demo = demoAvailable ? box.addButton(QStringLiteral("Instalar demonstração"),
                                                    QMessageBox::AcceptRole)
                                    : nullptr;
  QPushButton* internet = box.addButton(QStringLiteral("Atualizar via Internet..."), QMessageBox::ActionRole);
  QPushButton* cancel = box.addButton(QStringLiteral("Cancelar"), QMessageBox::RejectRole);
  box.setDefaultButton(demo ? demo : internet);
  box.setEscapeButton(cancel);
  box.exec();
  if (demo && box.clickedButton() == demo) return TAnswer::Demo;
  if (box.clickedButton() == internet) return TAnswer::Internet;
  return TAnswer::Cancel;
}

}  // namespace

TFirstStartChoice OfferFirstCollection() {
  // The folder defaults follow the program folder, which a start from
  // elsewhere may have left behind in the settings.
  Config().SetProgramFolder(QDir::toNativeSeparators(QCoreApplication::applicationDirPath()).toStdString());
  const std::string dataFolder = Config().GetString(DataFolder);
  if (HoldsCollection(dataFolder)) return TFirstStartChoice::Unchanged;
  const std::string demo = DemoCollectionFolder();
  try {
    switch (AskFirstCollection(dataFolder, HoldsCollection(DemoCollectionData(demo)))) {
      case TAnswer::Demo:
        InstallDemoCollection(demo, dataFolder, Config().GetString(ExtraFolder));
        return TFirstStartChoice::DemoInstalled;
      case TAnswer::Internet:
        ForceDirectories(dataFolder);
        return TFirstStartChoice::InternetUpdate;
      case TAnswer::Cancel:
        break;
    }
  } catch (...) {
    ShowCurrentError();
  }
  return TFirstStartChoice::Unchanged;
}

void StartInternetUpdate(TfrmClientMain& mainWindow) {
  QAction* update = mainWindow.findChild<QAction*>(QString::fromLatin1(kInternetUpdateAction));
  if (update) QTimer::singleShot(0, update, &QAction::trigger);
}
