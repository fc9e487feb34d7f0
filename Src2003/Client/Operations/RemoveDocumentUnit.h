#pragma once

// TfrmRemoveDocuments: the window of the document list refresh
// (TDocumentListRefresh), shown modally by the main window. Its Hide/Close
// button always closes it: a modal window cannot be hidden behind the
// notification area. Closing it before the end keeps the sizes measured so
// far in the tree in memory and saves nothing.
//
//   TfrmRemoveDocuments window(collection, mainWindow);
//   window.exec();            // the work starts when it is shown

#include "UpdateBaseUnit.h"

class TDocumentListRefresh;
class TInstalledCollection;

class TfrmRemoveDocuments : public TfrmUpdateBase {
  Q_OBJECT

 public:
  static constexpr char kCaption[] = "Atualização de lista de documentos";

  explicit TfrmRemoveDocuments(TInstalledCollection& collection, QWidget* parent = nullptr);

  TDocumentListRefresh& Refresh() const;

  // Closes the window with the result Accepted.
  void WindowVisibleActionExecute() override;

 protected:
  // Every showing posts the first state; the operation starts its work once.
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
};
