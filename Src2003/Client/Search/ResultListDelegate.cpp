#include "ResultListDelegate.h"

#include <QListView>
#include <QPainter>

#include "DocumentListModel.h"
#include "ResultListModel.h"

namespace {

const QColor kSnippetColor(0x55, 0x55, 0x55);

int SnippetLineHeight(const QFont& font) { return QFontMetrics(font).height() + TResultListDelegate::kSnippetGap; }

}  // namespace

TResultListDelegate::TResultListDelegate(QListView& view) : TDocumentListDelegate(view, true), view_(view) {}

QSize TResultListDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const {
  QSize size = TDocumentListDelegate::sizeHint(option, index);
  if (index.data(TResultListModel::kHasSnippetRole).toBool()) size.rheight() += SnippetLineHeight(view_.font());
  return size;
}

void TResultListDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                const QModelIndex& index) const {
  TDocumentListDelegate::paint(painter, option, index);
  if (!index.data(TResultListModel::kHasSnippetRole).toBool()) return;
  painter->save();
  try {
    PaintSnippet(*painter, option, index);
  } catch (...) {
    // As any row: a snippet that fails to draw leaves the row as it was.
  }
  painter->restore();
}

// One line at the row's bottom, under the summary: plain pieces in grey,
// hits bold in the text colour, cut with "…" at the row's right edge.
void TResultListDelegate::PaintSnippet(QPainter& painter, const QStyleOptionViewItem& option,
                                       const QModelIndex& index) const {
  const QVariant value = index.data(TResultListModel::kSnippetRole);
  if (!value.isValid()) return;
  const TRowSnippet snippet = value.value<TRowSnippet>();
  const int indent = (index.data(TDocumentListModel::kLevelRole).toInt() - 1) * kLevelIndent;
  QFont plain = view_.font();
  QFont bold = plain;
  bold.setBold(true);
  const int lineHeight = QFontMetrics(plain).height();
  const int right = option.rect.right();
  int x = option.rect.left() + indent + kImageSize + kSummaryIndent;
  const int top = option.rect.bottom() + 1 - lineHeight;

  int at = 0;
  auto drawPiece = [&](int end, bool hit) {
    if (end <= at || x >= right) return;
    const QFont& font = hit ? bold : plain;
    const QFontMetrics metrics(font);
    const QString piece = metrics.elidedText(snippet.Text.mid(at, end - at), Qt::ElideRight, right - x);
    painter.setFont(font);
    painter.setPen(hit ? option.palette.text().color() : kSnippetColor);
    painter.drawText(QRect(x, top, right - x, lineHeight), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, piece);
    x += metrics.horizontalAdvance(piece);
    at = end;
  };
  for (const TSearchRange& hit : snippet.Hits) {
    drawPiece(hit.Start, false);
    drawPiece(hit.End(), true);
  }
  drawPiece(static_cast<int>(snippet.Text.size()), false);
}
