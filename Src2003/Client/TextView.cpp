#include "TextView.h"

#include <cmath>

#include <QAbstractTextDocumentLayout>
#include <QMouseEvent>
#include <QScrollBar>

#include "RichTextEditing.h"

TTextView::TTextView(QWidget* parent) : QTextEdit(parent) {
  setReadOnly(true);
  setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  setAcceptRichText(true);
  viewport()->setMouseTracking(true);
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
