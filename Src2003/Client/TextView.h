#pragma once

#include <QTextEdit>

// The read-only rich-text view. A click on characters that carry a link
// number reports that number; over such characters the cursor is a hand.
// Tables keep the widths their document gives them and shrink only when the
// window is narrower; there is no text caret.
class TTextView : public QTextEdit {
  Q_OBJECT

 public:
  explicit TTextView(QWidget* parent = nullptr);

  // The link number of the character under a viewport point, or -1.
  int LinkNumberAtPoint(const QPoint& viewportPoint) const;

  // Vertical scroll position as a fraction of the range, in 1/65536 units, and back.
  int ScrollFraction() const;
  void ScrollToFraction(int fraction);

 signals:
  void LinkClicked(int linkNumber);

 protected:
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  void HideCaret();

  QPoint pressPoint_;
};

// 1/65536 units of the scroll range, as positions are stored per node.
inline constexpr int kScrollFractionUnit = 65536;
// (position - minimum) * 65536 / (maximum - minimum + 1), rounded.
int ScrollPositionToFraction(int position, int minimum, int maximum);
// minimum + fraction * (maximum - minimum + 1) / 65536, rounded.
int ScrollFractionToPosition(int fraction, int minimum, int maximum);
