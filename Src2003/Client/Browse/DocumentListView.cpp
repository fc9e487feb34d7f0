#include "DocumentListView.h"

#include <QKeyEvent>
#include <QMouseEvent>

#include "DocumentListDelegate.h"
#include "DocumentListModel.h"

namespace {

// Air between rows, so that each entry reads as one block.
constexpr int kRowSpacing = 3;

}  // namespace

TDocumentListView::TDocumentListView(QWidget* parent) : QListView(parent) {
  delegate_ = new TDocumentListDelegate(*this);
  setItemDelegate(delegate_);
  setMouseTracking(true);
  setUniformItemSizes(false);
  setResizeMode(QListView::Adjust);
  setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setSpacing(kRowSpacing);
  // Rows wrap their summaries to the width, so there is nothing to scroll sideways.
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}

int TDocumentListView::HotRow() const { return delegate_->HotRow(); }

void TDocumentListView::SetHotRowAt(const QPoint& viewportPoint) {
  const QModelIndex index = viewport()->rect().contains(viewportPoint) ? indexAt(viewportPoint) : QModelIndex();
  SetHotRow(index.isValid() ? index.row() : -1);
}

void TDocumentListView::SetHotRow(int row) {
  const int old = delegate_->HotRow();
  if (row == old) return;
  delegate_->SetHotRow(row);
  RepaintRow(old);
  RepaintRow(row);
  if ((old < 0) != (row < 0)) viewport()->setCursor(row >= 0 ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

void TDocumentListView::RepaintRow(int row) {
  if (row < 0 || !model() || row >= model()->rowCount()) return;
  viewport()->update(visualRect(model()->index(row, 0)));
}

void TDocumentListView::mouseMoveEvent(QMouseEvent* event) {
  SetHotRowAt(event->position().toPoint());
  QListView::mouseMoveEvent(event);
}

void TDocumentListView::mousePressEvent(QMouseEvent* event) {
  // A press without a move since the list was refilled still hits its row.
  SetHotRowAt(event->position().toPoint());
  const int hot = HotRow();
  auto* rows = qobject_cast<TDocumentListModel*>(model());
  if (event->button() == Qt::LeftButton && hot >= 0 && rows) {
    SetHotRow(-1);
    emit NodeClicked(rows->NodeAt(hot));
    return;
  }
  QListView::mousePressEvent(event);
}

void TDocumentListView::keyPressEvent(QKeyEvent* event) {
  auto* rows = qobject_cast<TDocumentListModel*>(model());
  const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
  if (enter && rows && currentIndex().isValid()) {
    emit NodeClicked(rows->NodeAt(currentIndex().row()));
    return;
  }
  QListView::keyPressEvent(event);
}

void TDocumentListView::leaveEvent(QEvent* event) {
  SetHotRow(-1);
  QListView::leaveEvent(event);
}
