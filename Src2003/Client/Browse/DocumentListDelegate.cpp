#include "DocumentListDelegate.h"

#include <algorithm>
#include <climits>

#include <QListView>
#include <QPainter>

#include "DocumentListModel.h"

namespace {

const QColor kHotColor(Qt::blue);
const QColor kSelectedColor(0x80, 0x00, 0x80);  // purple

// Summaries keep the base's CR LF line breaks; one break is one new line.
QString DisplaySummary(QString summary) { return summary.replace(QStringLiteral("\r\n"), QStringLiteral("\n")); }

int TextHeight(const QFontMetrics& metrics, const QString& text, int width) {
  return metrics.boundingRect(QRect(0, 0, std::max(width, 1), INT_MAX), Qt::TextWordWrap, text).height();
}

}  // namespace

TDocumentListDelegate::TDocumentListDelegate(QListView& view, bool resultList)
    : QStyledItemDelegate(&view), view_(view), resultList_(resultList) {}

int TDocumentListDelegate::RowHeight(const QFont& font, const QString& title, const QString& summary,
                                     int rowWidth) {
  const QFontMetrics metrics(font);
  // The summary is measured in the very rectangle PaintRow wraps it in, or
  // its last line would be cut off.
  const int width = rowWidth - (kImageSize + kSummaryIndent);
  const int titleHeight = TextHeight(metrics, title.isEmpty() ? QStringLiteral(" ") : title, INT_MAX / 2);
  const int summaryHeight = summary.isEmpty() ? 0 : TextHeight(metrics, DisplaySummary(summary), width);
  return std::max(titleHeight, static_cast<int>(kImageSize)) +
         std::max(summaryHeight, static_cast<int>(kMinimumSummaryHeight));
}

int TDocumentListDelegate::LevelIndent(const QModelIndex& index) const {
  return resultList_ ? (index.data(TDocumentListModel::kLevelRole).toInt() - 1) * kLevelIndent : 0;
}

QSize TDocumentListDelegate::sizeHint(const QStyleOptionViewItem&, const QModelIndex& index) const {
  // Rows sit `spacing` in from both sides of the viewport.
  const int width = std::max(view_.viewport()->width() - 2 * view_.spacing(), 1);
  return {width, RowHeight(view_.font(), index.data(Qt::DisplayRole).toString(),
                           index.data(TDocumentListModel::kSummaryRole).toString(), width - LevelIndent(index))};
}

void TDocumentListDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                  const QModelIndex& index) const {
  painter->save();
  try {
    PaintRow(*painter, option, index);
  } catch (...) {
    // A row that fails to draw stays as far as it got; the list goes on.
  }
  painter->restore();
}

void TDocumentListDelegate::PaintRow(QPainter& painter, const QStyleOptionViewItem& option,
                                     const QModelIndex& index) const {
  QRect row = option.rect;
  painter.fillRect(row, option.palette.base());
  row.setLeft(row.left() + LevelIndent(index));

  const bool hot = !resultList_ && index.row() == hotRow_;
  QFont font = view_.font();
  font.setUnderline(hot);
  font.setBold(!resultList_ || index.data(TDocumentListModel::kBoldRole).toBool());
  QColor color = option.palette.text().color();
  if (hot) {
    color = kHotColor;
  } else if (option.state & QStyle::State_Selected) {
    color = kSelectedColor;
  }
  painter.setPen(color);
  painter.setFont(font);

  const QIcon icon = index.data(Qt::DecorationRole).value<QIcon>();
  icon.paint(&painter, QRect(row.left(), row.top(), kImageSize, kImageSize));
  const QString title = index.data(Qt::DisplayRole).toString();
  const QFontMetrics titleMetrics(font);
  const QRect titleRect(row.left() + kImageSize + kTitleGap, row.top(), row.right() - row.left(),
                        titleMetrics.height());
  painter.drawText(titleRect, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, title);

  font.setBold(false);
  painter.setFont(font);
  const int top = row.top() + std::max(titleMetrics.height(), static_cast<int>(kImageSize));
  const QRect summaryRect(row.left() + kImageSize + kSummaryIndent, top, row.width() - (kImageSize + kSummaryIndent),
                          row.bottom() - top + 1);
  painter.drawText(summaryRect, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
                   DisplaySummary(index.data(TDocumentListModel::kSummaryRole).toString()));
}
