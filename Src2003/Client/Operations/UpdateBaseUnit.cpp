#include "UpdateBaseUnit.h"

#include <algorithm>

#include <QAction>
#include <QCloseEvent>
#include <QFrame>
#include <QLabel>
#include <QVBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTextCursor>
#include <QTimer>
#include <QTreeWidget>

#include "ClientIcons.h"
#include "ErrorDisplay.h"
#include "InstallLabel.h"
#include "Operation.h"
#include "ProgressPaintBox.h"
#include "TOMONode.h"
#include "UpdateTrayIcon.h"

namespace {

constexpr char kCaption[] = "Transferência de arquivos";
constexpr char kDetailCaption[] = "Detalhes";
constexpr char kHideCaption[] = "Ocultar";
constexpr char kCloseCaption[] = "Fechar";

// Layout of the form, in pixels.
constexpr int kPanelBorder = 4;
constexpr int kStageListWidth = 439;
constexpr int kStageListHeight = 79;
constexpr int kProgressPanelWidth = 440;
constexpr int kProgressPanelHeight = 13;
constexpr int kProgressBevel = 2;
constexpr int kControlGap = 4;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 25;
constexpr int kTreeIndent = 19;
constexpr int kLogFontPixels = 12;
constexpr char kLogFontFamily[] = "Courier New";
// Between the stage list or the progress bar and the buttons.
constexpr int kStageListGap = 10;
constexpr int kProgressGap = 9;
// Every caption a button shows, for its width.
constexpr const char* kButtonCaptions[] = {kHideCaption, kCloseCaption, "Cancelar", "<< Detalhes", "Detalhes >>"};

// A log line without its marker ("!", "#", ":") and the blanks around it.
std::string LineText(const std::string& line) {
  const size_t start = line.find_first_not_of("!#: ");
  if (start == std::string::npos) return {};
  const size_t end = line.find_last_not_of(' ');
  return line.substr(start, end - start + 1);
}

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& caption, int top) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(name);
  button->setAutoDefault(false);
  button->setGeometry(TfrmUpdateBase::kClientWidth - kPanelBorder - kButtonWidth, top, kButtonWidth, kButtonHeight);
  return button;
}

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
  ShowStages(operation_->Stages(), operation_->CurrentStage());
  // The detail panel is laid out shown; the window starts without it.
  DetailVisibleActionExecute();
  UpdateActions();
}

TfrmUpdateBase::~TfrmUpdateBase() { operation_->SetView(nullptr); }

int TfrmUpdateBase::UpdateKind() { return TOperation::ActiveUpdateKind(); }

void TfrmUpdateBase::CreateControls() {
  topPanel_ = new QFrame(this);
  topPanel_->setObjectName("TopPanel");
  topPanel_->setGeometry(0, 0, kClientWidth, kTopPanelHeight);

  installLabel_ = new TInstallLabel(topPanel_);
  installLabel_->setGeometry(kPanelBorder, kPanelBorder, kStageListWidth, kStageListHeight);

  progressPanel_ = new QFrame(topPanel_);
  progressPanel_->setObjectName("ProgressPanel");
  progressPanel_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  const int progressTop = kPanelBorder + kStageListHeight + kControlGap;
  progressPanel_->setGeometry(kPanelBorder, progressTop, kProgressPanelWidth, kProgressPanelHeight);
  progressPaintBox_ = new TProgressPaintBox(progressPanel_);
  progressPaintBox_->setGeometry(kProgressBevel, kProgressBevel, kProgressPanelWidth - 2 * kProgressBevel,
                                 kProgressPanelHeight - 2 * kProgressBevel);

  hideButton_ = MakeButton(topPanel_, "HideButton", QString::fromUtf8(kHideCaption), kPanelBorder);
  cancelButton_ = MakeButton(topPanel_, "CancelButton", QStringLiteral("Cancelar"),
                             kPanelBorder + kButtonHeight + kControlGap);
  detailButton_ = MakeButton(topPanel_, "DetailButton", detailCaption_,
                             kPanelBorder + 2 * (kButtonHeight + kControlGap));
  detailButton_->setCheckable(true);

  treeView_ = new QTreeWidget(topPanel_);
  treeView_->setObjectName("TreeView");
  treeView_->setHeaderHidden(true);
  treeView_->setIndentation(kTreeIndent);
  treeView_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  treeView_->setSelectionMode(QAbstractItemView::SingleSelection);
  const int treeTop = progressTop + kProgressPanelHeight + kControlGap;
  treeView_->setGeometry(kPanelBorder, treeTop, kClientWidth - 2 * kPanelBorder,
                         kTopPanelHeight - treeTop - kPanelBorder);

  outcomePanel_ = new QFrame(topPanel_);
  outcomePanel_->setObjectName("OutcomePanel");
  auto* outcomeLayout = new QVBoxLayout(outcomePanel_);
  outcomeLayout->setContentsMargins(0, 0, 0, 0);
  headlineLabel_ = new QLabel(outcomePanel_);
  headlineLabel_->setObjectName("Headline");
  QFont headlineFont = headlineLabel_->font();
  headlineFont.setBold(true);
  headlineLabel_->setFont(headlineFont);
  headlineLabel_->setWordWrap(true);
  errorLabel_ = new QLabel(outcomePanel_);
  errorLabel_->setObjectName("ErrorLine");
  errorLabel_->setWordWrap(true);
  QPalette errorPalette = errorLabel_->palette();
  errorPalette.setColor(QPalette::WindowText, Qt::red);
  errorLabel_->setPalette(errorPalette);
  outcomeLayout->addWidget(headlineLabel_);
  outcomeLayout->addWidget(errorLabel_);
  outcomeLayout->addStretch();
  outcomePanel_->hide();
  FitButtons();

  detailPanel_ = new QFrame(this);
  detailPanel_->setObjectName("DetailPanel");
  detailPanel_->setGeometry(0, kTopPanelHeight, kClientWidth, kDetailPanelHeight);
  richEdit_ = new QPlainTextEdit(detailPanel_);
  richEdit_->setObjectName("RichEdit");
  richEdit_->setReadOnly(true);
  richEdit_->setLineWrapMode(QPlainTextEdit::NoWrap);
  richEdit_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  richEdit_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  QFont logFont(QString::fromLatin1(kLogFontFamily));
  logFont.setStyleHint(QFont::TypeWriter);
  logFont.setPixelSize(kLogFontPixels);
  richEdit_->setFont(logFont);
  richEdit_->setGeometry(kPanelBorder, kPanelBorder, kClientWidth - 2 * kPanelBorder,
                         kDetailPanelHeight - 2 * kPanelBorder);

  trayIcon_ = new TUpdateTrayIcon(this);
  connect(trayIcon_, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
    if (reason == QSystemTrayIcon::DoubleClick) JvTrayIconDblClick();
  });

  progressTimer_ = new QTimer(this);
  progressTimer_->setObjectName("ProgressTimer");
  progressTimer_->setInterval(kProgressTimerMs);
  connect(progressTimer_, &QTimer::timeout, this, &TfrmUpdateBase::ProgressTimerTimer);
}

void TfrmUpdateBase::FitButtons() {
  int width = kButtonWidth;
  const QString shown = hideButton_->text();
  for (const char* caption : kButtonCaptions) {
    hideButton_->setText(QString::fromUtf8(caption));
    width = std::max(width, hideButton_->sizeHint().width());
  }
  hideButton_->setText(shown);
  const int left = kClientWidth - kPanelBorder - width;
  for (QPushButton* button : {hideButton_, cancelButton_, detailButton_}) {
    button->setGeometry(left, button->y(), width, std::max(kButtonHeight, button->sizeHint().height()));
  }
  installLabel_->resize(left - kStageListGap - kPanelBorder, installLabel_->height());
  progressPanel_->resize(left - kProgressGap - kPanelBorder, progressPanel_->height());
  progressPaintBox_->resize(progressPanel_->width() - 2 * kProgressBevel, progressPaintBox_->height());
}

void TfrmUpdateBase::CreateActions() {
  auto make = [this](const char* name, const char* text) {
    auto* action = new QAction(QString::fromUtf8(text), this);
    action->setObjectName(name);
    addAction(action);
    return action;
  };
  windowVisibleAction_ = make("WindowVisibleAction", kHideCaption);
  windowVisibleAction_->setCheckable(true);
  cancelUploadAction_ = make("CancelUploadAction", "Cancelar");
  cancelUploadAction_->setToolTip(QStringLiteral("Cancelar transferência de arquivos"));
  detailVisibleAction_ = make("DetailVisibleAction", kDetailCaption);
  detailVisibleAction_->setCheckable(true);
  detailVisibleAction_->setToolTip(QStringLiteral("Exibir/Ocultar detalhes"));
  exitAction_ = make("ExitAction", "Sair");

  // Buttons run their actions; the actions' state is copied onto them.
  connect(hideButton_, &QPushButton::clicked, windowVisibleAction_, &QAction::trigger);
  connect(cancelButton_, &QPushButton::clicked, cancelUploadAction_, &QAction::trigger);
  connect(detailButton_, &QPushButton::clicked, detailVisibleAction_, &QAction::trigger);
  cancelButton_->setToolTip(cancelUploadAction_->toolTip());
  detailButton_->setToolTip(detailVisibleAction_->toolTip());

  connect(windowVisibleAction_, &QAction::triggered, this, [this] { WindowVisibleActionExecute(); });
  connect(cancelUploadAction_, &QAction::triggered, this, [this] { CancelUploadActionExecute(); });
  connect(detailVisibleAction_, &QAction::triggered, this, [this] { DetailVisibleActionExecute(); });
  connect(exitAction_, &QAction::triggered, this, &QWidget::close);
}

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

// --- What the operation shows --------------------------------------------------------

QColor TfrmUpdateBase::LogColour(TLogColour colour) const {
  switch (colour) {
    case TLogColour::WindowText: return richEdit_->palette().color(QPalette::Active, QPalette::Text);
    case TLogColour::GrayText: return richEdit_->palette().color(QPalette::Disabled, QPalette::Text);
    default: break;
  }
  const TLogRgb rgb = LogColourRgb(colour);
  return QColor(rgb.Red, rgb.Green, rgb.Blue);
}

void TfrmUpdateBase::AddLog(const std::string& text, TLogColour colour, TLogStyle style) {
  QTextCursor cursor(richEdit_->document());
  cursor.movePosition(QTextCursor::End);
  QTextCharFormat format;
  format.setForeground(LogColour(colour));
  format.setFontWeight(style == TLogStyle::Bold ? QFont::Bold : QFont::Normal);
  if (!logEmpty_) cursor.insertBlock(QTextBlockFormat(), format);
  cursor.insertText(QString::fromStdString(text), format);
  logEmpty_ = false;
  NoteLogLine(text, colour);
  // Scrolled by a posted call: a step that logs many lines scrolls once.
  if (!scrollPosted_) {
    scrollPosted_ = true;
    QMetaObject::invokeMethod(this, &TfrmUpdateBase::ScrollLogToEnd, Qt::QueuedConnection);
  }
}

void TfrmUpdateBase::NoteLogLine(const std::string& text, TLogColour colour) {
  const std::string line = LineText(text);
  if (colour == TLogColour::Red) {
    if (!line.empty()) errorLine_ = line;
    lastLineRed_ = true;
    return;
  }
  // A failed request tells its reason on the plain line after the red one.
  if (lastLineRed_ && colour == TLogColour::WindowText && !line.empty()) errorLine_ += " " + line;
  if (colour == TLogColour::Green && !line.empty()) resultLine_ = line;
  lastLineRed_ = false;
}

QString TfrmUpdateBase::OutcomeHeadline() const {
  if (operation_->Cancelled()) return QString::fromUtf8(kCancelledHeadline);
  if (operation_->Failed()) return QString::fromUtf8(kFailedHeadline);
  return QString::fromStdString(resultLine_);
}

void TfrmUpdateBase::ShowOutcome() {
  if (!operation_->Finished() || outcomeShown_) return;
  outcomeShown_ = true;
  const bool failed = operation_->Failed() || operation_->Cancelled();
  const std::vector<std::string>& stages = operation_->Stages();
  if (failed) {
    installLabel_->MarkStageFailed(operation_->CurrentStage());
  } else {
    installLabel_->SetLines(stages, static_cast<int>(stages.size()));
  }
  headlineLabel_->setText(OutcomeHeadline());
  errorLabel_->setText(operation_->Failed() ? QString::fromStdString(errorLine_) : QString());
  errorLabel_->setVisible(!errorLabel_->text().isEmpty());
  // The outcome takes the top of the node list's place, or all of it.
  const QRect area = treeView_->geometry();
  const int outcomeHeight = treeView_->topLevelItemCount() == 0 ? area.height() : outcomePanel_->sizeHint().height();
  outcomePanel_->setGeometry(area.x(), area.y(), area.width(), outcomeHeight);
  outcomePanel_->show();
  if (treeView_->topLevelItemCount() == 0) {
    treeView_->hide();
  } else {
    treeView_->setGeometry(area.adjusted(0, outcomeHeight + kControlGap, 0, 0));
  }
  trayIcon_->setToolTip(QStringLiteral("%1: %2").arg(windowTitle(), headlineLabel_->text()));
  UpdateActions();
}

void TfrmUpdateBase::ScrollLogToEnd() {
  scrollPosted_ = false;
  QScrollBar* bar = richEdit_->verticalScrollBar();
  bar->setValue(bar->maximum());
}

void TfrmUpdateBase::ResetProgress(int maximum) {
  progressPosition_ = 0;
  progressMaximum_ = maximum;
  progressPaintBox_->Clear();
  progressTimer_->stop();
}

void TfrmUpdateBase::SetProgress(int position, int maximum) {
  progressPosition_ = position;
  progressMaximum_ = maximum;
  if (position < maximum) {
    // Started once, not restarted: chunks arriving faster than the timer
    // must not keep postponing its tick.
    if (!progressTimer_->isActive()) progressTimer_->start();
  } else {
    ProgressTimerTimer();
  }
}

void TfrmUpdateBase::ProgressTimerTimer() {
  progressPaintBox_->PaintTo(ProgressBarWidth(progressPosition_, progressMaximum_, progressPaintBox_->width()));
}

void TfrmUpdateBase::ShowStages(const std::vector<std::string>& lines, int current) {
  installLabel_->SetLines(lines, current);
}

void TfrmUpdateBase::BeginNodeList() { treeView_->setUpdatesEnabled(false); }

void TfrmUpdateBase::AddNodeItem(int item, int parentItem, const TTOMONode* node, const std::string& caption) {
  QTreeWidgetItem* entry = parentItem < 0 ? new QTreeWidgetItem(treeView_)
                                          : new QTreeWidgetItem(nodeItems_.at(static_cast<size_t>(parentItem)));
  entry->setText(0, QString::fromStdString(caption));
  if (node) entry->setIcon(0, NodeImage(NodeImageIndex(node->Record(), node->Level())));
  if (static_cast<size_t>(item) >= nodeItems_.size()) nodeItems_.resize(static_cast<size_t>(item) + 1);
  nodeItems_[static_cast<size_t>(item)] = entry;
}

void TfrmUpdateBase::SetNodeItemCaption(int item, const std::string& caption) {
  nodeItems_.at(static_cast<size_t>(item))->setText(0, QString::fromStdString(caption));
}

void TfrmUpdateBase::EndNodeList() {
  treeView_->setUpdatesEnabled(true);
  treeView_->expandAll();
}

void TfrmUpdateBase::SelectNodeItem(int item) {
  QTreeWidgetItem* entry = nodeItems_.at(static_cast<size_t>(item));
  treeView_->setCurrentItem(entry);
  treeView_->scrollToItem(entry);
}

void TfrmUpdateBase::ShowError(const std::exception& error) { ::ShowError(error); }

void TfrmUpdateBase::OperationStateChanged() { UpdateActions(); }
