#pragma once

#include "DocumentListDelegate.h"

// The result list's rows: as the document list draws them, indented by
// level, plus for hits a last line with the text around the first hit, the
// hit words in bold.
class TResultListDelegate : public TDocumentListDelegate {
  Q_OBJECT

 public:
  static constexpr int kSnippetGap = 2;  // above the snippet line, in pixels

  explicit TResultListDelegate(QListView& view);

  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

 private:
  void PaintSnippet(QPainter& painter, const QStyleOptionViewItem& option, const QModelIndex& index) const;

  QListView& view_;
};
