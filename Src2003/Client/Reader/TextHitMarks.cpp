#include "TextHitMarks.h"

#include <QTextEdit>

#include "RichTextEditing.h"

int TTextHitMarks::SelectionStart() const {
  return suspended_ ? held_.Start : edit_.textCursor().selectionStart();
}

int TTextHitMarks::SelectionLength() const {
  if (suspended_) return held_.Length;
  const QTextCursor cursor = edit_.textCursor();
  return cursor.selectionEnd() - cursor.selectionStart();
}

void TTextHitMarks::Select(int start, int length) {
  if (suspended_) {
    held_ = {start, length};
    return;
  }
  edit_.setTextCursor(SelectRange(*edit_.document(), start, length));
  edit_.ensureCursorVisible();
}

void TTextHitMarks::MarkSelectionAsHit() {
  const TRichTextMark hit{QColor(Qt::black), QColor(Qt::yellow), true, std::nullopt, std::nullopt};
  MarkRange(*edit_.document(), SelectionStart(), SelectionLength(), hit);
}

void TTextHitMarks::SuspendRepaint() {
  held_ = {SelectionStart(), SelectionLength()};
  suspended_ = true;
  edit_.viewport()->setUpdatesEnabled(false);
}

void TTextHitMarks::ResumeRepaint() {
  suspended_ = false;
  edit_.viewport()->setUpdatesEnabled(true);
  edit_.viewport()->update();
}
