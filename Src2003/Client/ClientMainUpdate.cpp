// The main window's update commands and the update asked for on the command
// line (start-up stage 12).

#include "ClientMainUnit.h"

#include "ErrorDisplay.h"
#include "UpdateOperation.h"
#include "UpdateUnit.h"

void TfrmClientMain::ConnectUpdateActions() {
  const TClientActions& a = actions_;
  const std::pair<QAction*, int> commands[] = {
      {a.UpdateInternetAction, TUpdateOperation::kKindInternet},
      {a.UpdateLocalFileAction, TUpdateOperation::kKindLocalFile},
      {a.UpdateFloppyAction, TUpdateOperation::kKindRemovable},
  };
  for (const auto& [action, kind] : commands) {
    connect(action, &QAction::triggered, this, [this, kind = kind] { StartUpdate(kind); });
  }
  connect(this, &TfrmClientMain::StartupUpdateRequested, this,
          [this](const QString& package) { StartUpdate(TUpdateOperation::kKindPackage, package); });
}

void TfrmClientMain::StartUpdate(int kind, const QString& packageArgument) {
  try {
    TfrmUpdate::StartUpdate(kind, this, Collection(), packageArgument);
  } catch (...) {
    ShowCurrentError();
  }
}
