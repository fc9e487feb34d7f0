#include "UpdateBaseUnit.h"

#include <QAction>
#include <QCloseEvent>
#include <QFrame>
#include <QPushButton>
#include <QTimer>

#include "UpdateOperation.h"
#include "UpdateTrayIcon.h"

namespace {

constexpr char kCaption[] = "Transferência de arquivos";

}  // namespace

TfrmUpdateBase::TfrmUpdateBase(std::unique_ptr<TOperation> operation, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      operation_(std::move(operation)) {
  setObjectName("frmUpdateBase");
  setWindowTitle(QString::fromUtf8(kCaption));
  CreateControls();
  CreateActions();
  detailCaption_ = QString::fromUtf8(kDetailCaption);
  operation_->SetView(this);
  connect(operation_.get(), &TOperation::ChainEnded, this, &TfrmUpdateBase::ShowOutcome);
  ShowStages(operation_->Report().Stages(), operation_->Report().CurrentStage());
  // The detail panel is laid out shown; the window starts without it.
  DetailVisibleActionExecute();
  UpdateActions();
}

TfrmUpdateBase::~TfrmUpdateBase() { operation_->SetView(nullptr); }

TUpdateKind TfrmUpdateBase::UpdateKind() { return TUpdateOperation::ActiveUpdateKind(); }


// --- Commands and their state ------------------------------------------------------

void TfrmUpdateBase::UpdateActions() {
  WindowVisibleActionUpdate();
  CancelUploadActionUpdate();
  DetailVisibleActionUpdate();
}

void TfrmUpdateBase::WindowVisibleActionUpdate() {
  windowVisibleAction_->setChecked(isVisible());
  const QString caption = QString::fromUtf8(operation_->Finished() ? kCloseCaption : kHideCaption);
  windowVisibleAction_->setText(caption);
  hideButton_->setText(caption);
}

void TfrmUpdateBase::CancelUploadActionUpdate() {
  cancelUploadAction_->setEnabled(!operation_->Finished());
  cancelButton_->setEnabled(cancelUploadAction_->isEnabled());
}

void TfrmUpdateBase::DetailVisibleActionUpdate() {
  const bool shown = !detailPanel_->isHidden();
  detailVisibleAction_->setChecked(shown);
  detailButton_->setChecked(shown);
  detailButton_->setText(shown ? QStringLiteral("<< %1").arg(detailCaption_) : QStringLiteral("%1 >>").arg(detailCaption_));
}

void TfrmUpdateBase::WindowVisibleActionExecute() {
  if (operation_->Finished()) {
    Release();
    return;
  }
  if (isVisible() && !isMinimized()) {
    HideWindow();
  } else {
    JvTrayIconDblClick();
  }
}

void TfrmUpdateBase::CancelUploadActionExecute() { operation_->CancelOperation(); }

void TfrmUpdateBase::DetailVisibleActionExecute() {
  const bool show = detailPanel_->isHidden();
  setFixedSize(kClientWidth, clientHeights_[show ? 1 : 0]);
  detailPanel_->setVisible(show);
  DetailVisibleActionUpdate();
}

void TfrmUpdateBase::JvTrayIconDblClick() {
  showNormal();
  raise();
  activateWindow();
}

bool TfrmUpdateBase::TrayAvailable() const { return QSystemTrayIcon::isSystemTrayAvailable(); }

void TfrmUpdateBase::HideWindow() {
  if (TrayAvailable()) {
    hide();
  } else {
    showMinimized();
  }
}

void TfrmUpdateBase::Release() {
  hide();
  if (releasing_) return;
  // A step that lets pending events through may be what clicked "Fechar":
  // the window goes once that step has returned.
  if (operation_->InStep()) {
    QTimer::singleShot(0, this, &TfrmUpdateBase::Release);
    return;
  }
  releasing_ = true;
  deleteLater();
}

void TfrmUpdateBase::closeEvent(QCloseEvent* event) {
  event->ignore();
  if (operation_->Finished()) {
    Release();
  } else {
    HideWindow();
  }
}

void TfrmUpdateBase::reject() {}

void TfrmUpdateBase::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!trayIcon_->isVisible() && TrayAvailable()) trayIcon_->show();
  UpdateActions();
}

void TfrmUpdateBase::hideEvent(QHideEvent* event) {
  QDialog::hideEvent(event);
  UpdateActions();
}

void TfrmUpdateBase::changeEvent(QEvent* event) {
  QDialog::changeEvent(event);
  if (event->type() == QEvent::WindowStateChange) UpdateActions();
}

