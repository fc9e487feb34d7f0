// The main window's update commands, the update asked for on the command
// line (start-up stage 12), and the operations ended when the program ends.

#include "ClientMainUnit.h"

#include <algorithm>

#include "ErrorDisplay.h"
#include "Prompts.h"
#include "UpdateBaseUnit.h"
#include "UpdateOperation.h"
#include "UpdateUnit.h"

void TfrmClientMain::ConnectUpdateActions() {
  const TClientActions& a = actions_;
  const std::pair<QAction*, TUpdateKind> commands[] = {
      {a.UpdateInternetAction, TUpdateKind::Internet},
      {a.UpdateLocalFileAction, TUpdateKind::LocalFile},
      {a.UpdateFloppyAction, TUpdateKind::Removable},
  };
  for (const auto& [action, kind] : commands) {
    connect(action, &QAction::triggered, this, [this, kind = kind] { StartUpdate(kind); });
  }
  connect(this, &TfrmClientMain::StartupUpdateRequested, this,
          [this](const QString& package) { StartUpdate(TUpdateKind::Package, package); });
}

void TfrmClientMain::StartUpdate(TUpdateKind kind, const QString& packageArgument) {
  try {
    TfrmUpdate::StartUpdate(kind, this, Collection(), packageArgument);
  } catch (...) {
    ShowCurrentError();
  }
}

namespace {

constexpr char kQuitCaption[] = "Pandecta";
constexpr char kQuitDuringOperation[] = "Há uma operação em andamento. Deseja cancelá-la e sair?";

}  // namespace

bool TfrmClientMain::EndOperationsForQuit() {
  const QList<TfrmUpdateBase*> windows = findChildren<TfrmUpdateBase*>(Qt::FindDirectChildrenOnly);
  const bool running = std::any_of(windows.begin(), windows.end(),
                                   [](const TfrmUpdateBase* window) { return !window->Operation().Finished(); });
  if (running && !Prompts().AskYesNoTitled(kQuitCaption, kQuitDuringOperation)) return false;
  for (TfrmUpdateBase* window : windows) {
    if (!window->Operation().Finished()) window->Operation().CancelOperation();
    window->hide();
  }
  return true;
}
