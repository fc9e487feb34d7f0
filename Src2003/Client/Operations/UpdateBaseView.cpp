// What TfrmUpdateBase shows of its operation (TOperationView): the coloured
// log, the outcome once it is over, the progress bar, the stage list and
// the node list.
#include "UpdateBaseUnit.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextCursor>
#include <QTimer>
#include <QTreeWidget>

#include "ClientIcons.h"
#include "ErrorDisplay.h"
#include "InstallLabel.h"
#include "ProgressPaintBox.h"
#include "TOMONode.h"
#include "UpdateTrayIcon.h"

namespace {

// A log line without its marker ("!", "#", ":") and the blanks around it.
std::string LineText(const std::string& line) {
  const size_t start = line.find_first_not_of("!#: ");
  if (start == std::string::npos) return {};
  const size_t end = line.find_last_not_of(' ');
  return line.substr(start, end - start + 1);
}

}  // namespace

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
  const std::vector<std::string>& stages = operation_->Report().Stages();
  if (failed) {
    installLabel_->MarkStageFailed(operation_->Report().CurrentStage());
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
