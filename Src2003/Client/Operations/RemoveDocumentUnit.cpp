#include "RemoveDocumentUnit.h"

#include <memory>

#include <QCloseEvent>

#include "DocumentListRefresh.h"
#include "QtText.h"

TfrmRemoveDocuments::TfrmRemoveDocuments(TInstalledCollection& collection, QWidget* parent)
    : TfrmUpdateBase(std::make_unique<TDocumentListRefresh>(collection), parent) {
  setWindowTitle(Utf8ToQString(kCaption));
}

TDocumentListRefresh& TfrmRemoveDocuments::Refresh() const {
  return static_cast<TDocumentListRefresh&>(Operation());
}

void TfrmRemoveDocuments::WindowVisibleActionExecute() { done(QDialog::Accepted); }

void TfrmRemoveDocuments::showEvent(QShowEvent* event) {
  TfrmUpdateBase::showEvent(event);
  Refresh().Start();
}

void TfrmRemoveDocuments::closeEvent(QCloseEvent* event) {
  event->ignore();
  WindowVisibleActionExecute();
}
