#pragma once

#include <QListView>

class TDocumentListDelegate;
class TTOMONode;

// The document list: the rows of a folder, hot-tracked like links. The row
// under the mouse is drawn as a link and the cursor becomes a hand; a press
// on it opens the row's node, and so does Enter on the current row.
class TDocumentListView : public QListView {
  Q_OBJECT

 public:
  explicit TDocumentListView(QWidget* parent = nullptr);

  TDocumentListDelegate& Delegate() const { return *delegate_; }
  int HotRow() const;
  // Takes the row under a point of the viewport as the hot one (-1: none).
  void SetHotRowAt(const QPoint& viewportPoint);

 signals:
  void NodeClicked(TTOMONode* node);

 protected:
  void mouseMoveEvent(QMouseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  void SetHotRow(int row);
  void RepaintRow(int row);

  TDocumentListDelegate* delegate_;
};
