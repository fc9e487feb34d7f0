#pragma once

// TfrmUpdateBase: the window every long operation runs behind (index build,
// document list refresh, update packages, Internet update). It shows the
// operation it owns (TOperation, Src2003/Update) and holds none of its logic:
// the stage list with the current line in bold, the coloured log, the
// segmented progress bar, the node list, the notification-area icon, and the
// Hide/Close, Cancel and Details buttons.
//
//   auto* window = new TfrmUpdateBase(std::make_unique<TMyOperation>(), mainWindow);
//   window->show();
//   window->Operation().PostStep(WM_OPERATIONSTEP, 1, 0);
//
// A window whose operation is Finished reads "Fechar" on its Hide button and
// frees itself when it is pressed: an owner keeps a QPointer to it.
// Once the operation is over the window says how it ended: a headline (its
// result, or that it failed or was cancelled), the error in red under it,
// the stage it stopped at in red; the node list goes when it is empty.
// Controls carry their names as objectName (TopPanel, JvInstallLabel,
// ProgressPanel, ProgressPaintBox, HideButton, CancelButton, DetailButton,
// TreeView, OutcomePanel, Headline, ErrorLine, DetailPanel, RichEdit;
// JvTrayIcon, ProgressTimer; the actions).
//
// UpdateBaseForm.cpp lays the form out, UpdateBaseView.cpp shows the
// operation, this unit runs the commands.

#include <memory>
#include <vector>

#include <QDialog>

#include "Operation.h"
#include "OperationView.h"
#include "UpdateOperation.h"

class QAction;
class QFrame;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTimer;
class QTreeWidget;
class QTreeWidgetItem;
class TInstallLabel;
class TProgressPaintBox;
class TUpdateTrayIcon;

class TfrmUpdateBase : public QDialog, public TOperationView {
  Q_OBJECT

 public:
  // The window's fixed width, and the heights of its two panels.
  static constexpr int kClientWidth = 532;
  static constexpr int kTopPanelHeight = 257;
  static constexpr int kDetailPanelHeight = 159;
  static constexpr int kProgressTimerMs = 500;
  // Between the controls of the top panel, in pixels.
  static constexpr int kControlGap = 4;
  static constexpr char kHideCaption[] = "Ocultar";
  static constexpr char kCloseCaption[] = "Fechar";
  static constexpr char kDetailCaption[] = "Detalhes";

  // Takes the operation and becomes what shows it. The detail panel starts
  // hidden; the first stage line is current.
  explicit TfrmUpdateBase(std::unique_ptr<TOperation> operation, QWidget* parent = nullptr);
  ~TfrmUpdateBase() override;

  TOperation& Operation() const { return *operation_; }

  // The UpdateKind of the running update, None when none runs: the main
  // window enables its update commands by it (UpdateKindNotifier() tells
  // when it changes).
  static TUpdateKind UpdateKind();

  // --- TOperationView ----------------------------------------------------------
  void AddLog(const std::string& text, TLogColour colour, TLogStyle style) override;
  void ResetProgress(int maximum) override;
  void SetProgress(int position, int maximum) override;
  void ShowStages(const std::vector<std::string>& lines, int current) override;
  void BeginNodeList() override;
  void AddNodeItem(int item, int parentItem, const TTOMONode* node, const std::string& caption) override;
  void SetNodeItemCaption(int item, const std::string& caption) override;
  void EndNodeList() override;
  void SelectNodeItem(int item) override;
  void ShowError(const std::exception& error) override;
  void OperationStateChanged() override;

  // --- Commands ----------------------------------------------------------------
  // Once Finished: closes and frees the window; otherwise hides it (leaving
  // the notification-area icon) or shows it again. A window shown modally
  // replaces it.
  virtual void WindowVisibleActionExecute();
  void CancelUploadActionExecute();
  // Shows or hides the detail panel, the window's height following.
  void DetailVisibleActionExecute();
  // Shows the window again from the notification-area icon.
  void JvTrayIconDblClick();
  // The progress timer's tick: draws the bar up to the current position.
  void ProgressTimerTimer();

  // Escape does not close the window; its buttons do.
  void reject() override;

  // The log's colour for a line colour, in this window's palette.
  QColor LogColour(TLogColour colour) const;

  // What the window says once the operation is over: its last result line
  // when it completed, else that it failed or was cancelled.
  static constexpr char kFailedHeadline[] = "A operação falhou";
  static constexpr char kCancelledHeadline[] = "Operação cancelada pelo usuário";

 protected:
  // Whether the desktop has a notification area. Without one, hiding
  // minimizes the window instead, so that it can still be found.
  virtual bool TrayAvailable() const;

  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void CreateControls();
  void CreateOutcomePanel();
  void CreateDetailPanel();
  void CreateActions();
  void UpdateActions();
  void WindowVisibleActionUpdate();
  void CancelUploadActionUpdate();
  void DetailVisibleActionUpdate();
  void HideWindow();
  // The buttons as wide as their longest caption needs, the stage list and
  // the progress bar beside them.
  void FitButtons();
  // The operation is over: the headline, the error line, the stage it
  // stopped at, the tray tip; the node list goes when it is empty.
  void ShowOutcome();
  QString OutcomeHeadline() const;
  // Keeps the last result line and the last error (with the line that
  // explains it) for the outcome.
  void NoteLogLine(const std::string& text, TLogColour colour);
  // Frees the window once the running step (if any) has returned.
  void Release();
  void ScrollLogToEnd();

  std::unique_ptr<TOperation> operation_;

  QFrame* topPanel_ = nullptr;
  TInstallLabel* installLabel_ = nullptr;
  QFrame* progressPanel_ = nullptr;
  TProgressPaintBox* progressPaintBox_ = nullptr;
  QPushButton* hideButton_ = nullptr;
  QPushButton* cancelButton_ = nullptr;
  QPushButton* detailButton_ = nullptr;
  QTreeWidget* treeView_ = nullptr;
  QFrame* outcomePanel_ = nullptr;
  QLabel* headlineLabel_ = nullptr;
  QLabel* errorLabel_ = nullptr;
  QFrame* detailPanel_ = nullptr;
  QPlainTextEdit* richEdit_ = nullptr;
  TUpdateTrayIcon* trayIcon_ = nullptr;
  QTimer* progressTimer_ = nullptr;

  QAction* windowVisibleAction_ = nullptr;
  QAction* cancelUploadAction_ = nullptr;
  QAction* detailVisibleAction_ = nullptr;
  QAction* exitAction_ = nullptr;

  QString detailCaption_;
  // The client height with the detail panel hidden (0) and shown (1).
  int clientHeights_[2] = {kTopPanelHeight, kTopPanelHeight + kDetailPanelHeight};
  int progressPosition_ = 0;
  int progressMaximum_ = 0;
  std::vector<QTreeWidgetItem*> nodeItems_;
  bool logEmpty_ = true;
  bool scrollPosted_ = false;
  bool releasing_ = false;
  std::string resultLine_;
  std::string errorLine_;
  bool lastLineRed_ = false;
  bool outcomeShown_ = false;
};
