// The form of TfrmUpdateBase: its controls laid out in pixels, and the
// actions its buttons run.
#include "UpdateBaseUnit.h"

#include <algorithm>

#include <QAction>
#include <QFrame>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "InstallLabel.h"
#include "ProgressPaintBox.h"
#include "UpdateTrayIcon.h"

namespace {

// Layout of the form, in pixels: the sizes of the stage list, the progress
// panel and a button as width and height.
constexpr int kPanelBorder = 4;
constexpr int kStageListWidth = 439, kStageListHeight = 79;
constexpr int kProgressPanelWidth = 440, kProgressPanelHeight = 13;
constexpr int kProgressBevel = 2;
constexpr int kButtonWidth = 75, kButtonHeight = 25;
constexpr int kTreeIndent = 19;
constexpr char kLogFontFamily[] = "Courier New";
constexpr int kLogFontPixels = 12;
// Between the stage list or the progress bar and the buttons.
constexpr int kStageListGap = 10, kProgressGap = 9;
// Every caption a button shows, for its width.
constexpr const char* kButtonCaptions[] = {TfrmUpdateBase::kHideCaption, TfrmUpdateBase::kCloseCaption, "Cancelar",
                                          "<< Detalhes", "Detalhes >>"};

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& caption, int top) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(name);
  button->setAutoDefault(false);
  button->setGeometry(TfrmUpdateBase::kClientWidth - kPanelBorder - kButtonWidth, top, kButtonWidth, kButtonHeight);
  return button;
}

}  // namespace

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

  CreateOutcomePanel();
  FitButtons();
  CreateDetailPanel();

  trayIcon_ = new TUpdateTrayIcon(this);
  connect(trayIcon_, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
    if (reason == QSystemTrayIcon::DoubleClick) JvTrayIconDblClick();
  });

  progressTimer_ = new QTimer(this);
  progressTimer_->setObjectName("ProgressTimer");
  progressTimer_->setInterval(kProgressTimerMs);
  connect(progressTimer_, &QTimer::timeout, this, &TfrmUpdateBase::ProgressTimerTimer);
}

// The headline and the error line that take the node list's place once the
// operation is over; hidden until then.
void TfrmUpdateBase::CreateOutcomePanel() {
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
}

// The coloured log under the top panel, in a fixed-pitch font.
void TfrmUpdateBase::CreateDetailPanel() {
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

