// The main window's update commands, the update asked for on the command
// line (start-up stage 12), and the operations ended when the program ends.

#include "ClientMainUnit.h"

#include <algorithm>

#include <QAction>
#include <QCloseEvent>

#include "ConfigUnit.h"
#include "ErrorDisplay.h"
#include "Prompts.h"
#include "StartupStages.h"
#include "UpdateBaseUnit.h"
#include "UpdateOperation.h"
#include "UpdateUnit.h"
#include "WindowPlacement.h"

namespace {

constexpr char kQuitCaption[] = "Pandecta";
constexpr char kQuitDuringOperation[] = "Há uma operação em andamento. Deseja cancelá-la e sair?";

// The update window in `kind` (TUpdateOperation's kinds); kind 4 applies the
// package named by `packageArgument`.
void StartUpdate(TfrmClientMain& window, TUpdateKind kind, const QString& packageArgument = {}) {
  try {
    TfrmUpdate::StartUpdate(kind, &window, window.Collection(), packageArgument);
  } catch (...) {
    ShowCurrentError();
  }
}

// Before the program ends: an operation still running is cancelled if the
// user agrees ("Sim"), and its window goes out of sight. False: the user
// chose to stay ("Não").
bool EndOperationsForQuit(QWidget& window) {
  const QList<TfrmUpdateBase*> windows = window.findChildren<TfrmUpdateBase*>(Qt::FindDirectChildrenOnly);
  const bool running = std::any_of(windows.begin(), windows.end(),
                                   [](const TfrmUpdateBase* operation) { return !operation->Operation().Finished(); });
  if (running && !Prompts().AskYesNoTitled(kQuitCaption, kQuitDuringOperation)) return false;
  for (TfrmUpdateBase* operation : windows) {
    if (!operation->Operation().Finished()) operation->Operation().CancelOperation();
    operation->hide();
  }
  return true;
}

}  // namespace

void ConnectUpdateCommands(TfrmClientMain& window) {
  const TClientActions& a = window.Actions();
  const std::pair<QAction*, TUpdateKind> commands[] = {
      {a.UpdateInternetAction, TUpdateKind::Internet},
      {a.UpdateLocalFileAction, TUpdateKind::LocalFile},
      {a.UpdateFloppyAction, TUpdateKind::Removable},
  };
  for (const auto& [action, kind] : commands) {
    QObject::connect(action, &QAction::triggered, &window, [&window, kind = kind] { StartUpdate(window, kind); });
  }
  QObject::connect(&window.Startup(), &TStartupStages::UpdateRequested, &window, [&window](const QString& package) {
    StartUpdate(window, TUpdateKind::Package, package);
  });
}

void TfrmClientMain::closeEvent(QCloseEvent* event) {
  if (!EndOperationsForQuit(*this)) {
    event->ignore();
    return;
  }
  ShowNode(nullptr);  // keeps the text's scroll position
  SaveWindowPlacement(*this, Config().Store());
  event->accept();
}
