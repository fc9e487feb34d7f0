#include "TextView.h"

#include <cmath>

#include <QAbstractTextDocumentLayout>
#include <QMouseEvent>
#include <QScrollBar>
#include <QWheelEvent>

#include "RichTextEditing.h"
#include "RichTextTables.h"
#include "RichTextZoom.h"
#include "ShownDocument.h"

TTextView::TTextView(QWidget* parent) : QTextEdit(parent) {
  setReadOnly(true);
  setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  setAcceptRichText(true);
  viewport()->setMouseTracking(true);
  HideCaret();
  shown_ = new TShownDocument(*this);
}

// The keyboard still moves and extends the selection, but a read-only text
// shows no blinking caret. The caret's width belongs to the document's
// layout, so every new document needs it again.
void TTextView::HideCaret() {
  if (cursorWidth() != 0) setCursorWidth(0);
}

void TTextView::paintEvent(QPaintEvent* event) {
  // Documents are replaced and the window resized without a hook of their
  // own; before drawing is the one moment that always follows both.
  HideCaret();
  FitTablesToWidth(*document());
  QTextEdit::paintEvent(event);
}

int TTextView::LinkNumberAtPoint(const QPoint& viewportPoint) const {
  const QPointF documentPoint(viewportPoint.x() + horizontalScrollBar()->value(),
                              viewportPoint.y() + verticalScrollBar()->value());
  const int position = document()->documentLayout()->hitTest(documentPoint, Qt::ExactHit);
  return position < 0 ? -1 : LinkNumberAt(*document(), position);
}

void TTextView::mouseMoveEvent(QMouseEvent* event) {
  const bool overLink = LinkNumberAtPoint(event->position().toPoint()) >= 0;
  viewport()->setCursor(overLink ? Qt::PointingHandCursor : Qt::IBeamCursor);
  QTextEdit::mouseMoveEvent(event);
}

void TTextView::mouseReleaseEvent(QMouseEvent* event) {
  QTextEdit::mouseReleaseEvent(event);
  // A drag that selected text is not a click on a link.
  if (event->button() != Qt::LeftButton || textCursor().hasSelection()) return;
  const int link = LinkNumberAtPoint(event->position().toPoint());
  if (link >= 0) emit LinkClicked(link);
}

namespace {

constexpr int kWheelNotch = 120;  // QWheelEvent's eighths of a degree per notch
constexpr double kPercent = 100.0;

}  // namespace

void TTextView::SetZoomPercent(int percent) {
  zoomPercent_ = percent;
  ApplyZoom();
}

void TTextView::ApplyZoom() {
  // The same place of the text stays in view as the text grows or shrinks.
  const int fraction = ScrollFraction();
  ZoomTextDocument(*document(), zoomPercent_ / kPercent);
  if (fraction == 0) return;
  document()->documentLayout()->documentSize();  // the range of the new size
  ScrollToFraction(fraction);
}

void TTextView::wheelEvent(QWheelEvent* event) {
  if (!(event->modifiers() & Qt::ControlModifier)) {
    QTextEdit::wheelEvent(event);
    return;
  }
  event->accept();
  zoomWheelDelta_ += event->angleDelta().y();
  while (std::abs(zoomWheelDelta_) >= kWheelNotch) {
    const bool larger = zoomWheelDelta_ > 0;
    zoomWheelDelta_ -= larger ? kWheelNotch : -kWheelNotch;
    emit ZoomWheel(larger);
  }
}

int TTextView::ScrollFraction() const {
  const QScrollBar* bar = verticalScrollBar();
  return ScrollPositionToFraction(bar->value(), bar->minimum(), bar->maximum());
}

void TTextView::ScrollToFraction(int fraction) {
  QScrollBar* bar = verticalScrollBar();
  bar->setValue(ScrollFractionToPosition(fraction, bar->minimum(), bar->maximum()));
}

int ScrollPositionToFraction(int position, int minimum, int maximum) {
  const double range = static_cast<double>(maximum) - minimum + 1;
  return static_cast<int>(std::lround((position - minimum) * static_cast<double>(kScrollFractionUnit) / range));
}

int ScrollFractionToPosition(int fraction, int minimum, int maximum) {
  const double range = static_cast<double>(maximum) - minimum + 1;
  return minimum + static_cast<int>(std::lround(fraction * range / kScrollFractionUnit));
}
