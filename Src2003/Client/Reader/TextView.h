#pragma once

#include <QTextEdit>

class TShownDocument;

// The read-only rich-text view. A click on characters that carry a link
// number reports that number; over such characters the cursor is a hand.
// Tables keep the widths their document gives them and shrink only when the
// window is narrower; there is no text caret. Its documents are drawn at the
// view's zoom; Ctrl with the mouse wheel asks for another one. The document
// shown, with its links and scroll memory, is its TShownDocument.
class TTextView : public QTextEdit {
  Q_OBJECT

 public:
  explicit TTextView(QWidget* parent = nullptr);

  TShownDocument& Shown() const { return *shown_; }

  // The link number of the character under a viewport point, or -1.
  int LinkNumberAtPoint(const QPoint& viewportPoint) const;

  // Vertical scroll position as a fraction of the range, in 1/65536 units, and back.
  int ScrollFraction() const;
  void ScrollToFraction(int fraction);

  // Draws the document at `percent` of its natural size, and every
  // document shown later once it is given to ApplyZoom.
  void SetZoomPercent(int percent);
  int ZoomPercent() const { return zoomPercent_; }
  // Brings the document shown to the view's zoom.
  void ApplyZoom();

 signals:
  void LinkClicked(int linkNumber);
  // Ctrl and a notch of the wheel: larger (true) or smaller.
  void ZoomWheel(bool larger);

 protected:
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

 private:
  void HideCaret();

  TShownDocument* shown_ = nullptr;
  QPoint pressPoint_;
  int zoomPercent_ = 100;
  int zoomWheelDelta_ = 0;  // eighths of a degree not yet a whole notch
};

// 1/65536 units of the scroll range, as positions are stored per node.
inline constexpr int kScrollFractionUnit = 65536;
// (position - minimum) * 65536 / (maximum - minimum + 1), rounded.
int ScrollPositionToFraction(int position, int minimum, int maximum);
// minimum + fraction * (maximum - minimum + 1) / 65536, rounded.
int ScrollFractionToPosition(int fraction, int minimum, int maximum);
