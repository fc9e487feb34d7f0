#pragma once

#include <QStyledItemDelegate>

class QListView;

// Draws and measures the rows of the document list (and of the search result
// list): the node's icon and bold title on the first line, the summary
// wrapped below it. The hot row of the document list is blue and
// underlined, like a link.
class TDocumentListDelegate : public QStyledItemDelegate {
  Q_OBJECT

 public:
  static constexpr int kImageSize = 16;
  static constexpr int kTitleGap = 4;          // between image and title
  static constexpr int kSummaryIndent = 12;    // summary's left edge after the image
  static constexpr int kMinimumSummaryHeight = 2;
  static constexpr int kLevelIndent = 16;      // per result level, in the result list

  // resultList: rows are indented by level and only folders are bold.
  explicit TDocumentListDelegate(QListView& view, bool resultList = false);

  // The row under the mouse (-1: none); set by the view.
  void SetHotRow(int row) { hotRow_ = row; }
  int HotRow() const { return hotRow_; }

  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

  // Row height for a title and summary in a row `rowWidth` pixels wide, in a font.
  static int RowHeight(const QFont& font, const QString& title, const QString& summary, int rowWidth);

 private:
  // The result list's indent of a row by its level; 0 in the document list.
  int LevelIndent(const QModelIndex& index) const;
  void PaintRow(QPainter& painter, const QStyleOptionViewItem& option, const QModelIndex& index) const;

  QListView& view_;
  bool resultList_;
  int hotRow_ = -1;
};
