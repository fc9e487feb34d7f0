#include "ResultListView.h"

#include <QKeyEvent>
#include <QPainter>

#include "ResultListDelegate.h"

namespace {

// Air between rows, as in the document list.
constexpr int kRowSpacing = 3;
// Rows measured per pass of the event loop: a search with tens of thousands
// of hits paints its first screen at once and goes on measuring the rest
// between the user's events.
constexpr int kRowsMeasuredPerPass = 100;
constexpr int kNoteMargin = 12;

}  // namespace

TResultListView::TResultListView(QWidget* parent) : QListView(parent) {
  delegate_ = new TResultListDelegate(*this);
  setItemDelegate(delegate_);
  setUniformItemSizes(false);
  setLayoutMode(QListView::Batched);
  setBatchSize(kRowsMeasuredPerPass);
  setResizeMode(QListView::Adjust);
  setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setSpacing(kRowSpacing);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  connect(this, &QAbstractItemView::clicked, this, [this](const QModelIndex& index) { emit RowClicked(index.row()); });
  connect(this, &QAbstractItemView::doubleClicked, this,
          [this](const QModelIndex& index) { emit RowOpened(index.row()); });
}

void TResultListView::SetSearched(bool searched) {
  searched_ = searched;
  viewport()->update();
}

void TResultListView::SetEmptyNote(const QString& note) {
  emptyNote_ = note;
  viewport()->update();
}

void TResultListView::paintEvent(QPaintEvent* event) {
  QListView::paintEvent(event);
  if (!searched_ || !model() || model()->rowCount() > 0) return;
  QPainter painter(viewport());
  painter.setPen(palette().color(QPalette::PlaceholderText));
  painter.drawText(viewport()->rect().adjusted(kNoteMargin, kNoteMargin, -kNoteMargin, -kNoteMargin),
                   Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap,
                   QString::fromUtf8(kNothingFoundText) + (emptyNote_.isEmpty() ? QString() : "\n\n" + emptyNote_));
}

void TResultListView::keyPressEvent(QKeyEvent* event) {
  if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && currentIndex().isValid()) {
    emit RowOpened(currentIndex().row());
    return;
  }
  QListView::keyPressEvent(event);
}
