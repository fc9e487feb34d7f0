#pragma once

// The segmented progress bar of the operation window: blocks of 7 pixels in
// the caption colour with 1-pixel gaps, drawn with an 8 x 8 tile. The bar
// grows in whole 8-pixel blocks until the position reaches the maximum.
//
//   ProgressBarWidth(500, 1000, 436)    216  (218, down to whole blocks)
//   ProgressBarWidth(1000, 1000, 436)   436
//   ProgressBarWidth(4000, 1000, 436)   436  (beyond the maximum: full)
//   ProgressBarWidth(10, 0, 436)        0    (no maximum: nothing)

#include <QPixmap>
#include <QWidget>

// Side of the square tile that paints the bar; whole blocks are this wide.
inline constexpr int kProgressTileSize = 8;

// The painted width for a position: position x width / maximum rounded to
// the nearest pixel (halves away from zero), down to a multiple of 8 while
// below the maximum, within [0, width].
int ProgressBarWidth(int position, int maximum, int boxWidth);

class TProgressPaintBox : public QWidget {
  Q_OBJECT

 public:
  explicit TProgressPaintBox(QWidget* parent = nullptr);

  // The width last computed (the box's tag): it may shrink when the position
  // goes down, but what was drawn stays until Clear.
  int PaintedWidth() const { return paintedWidth_; }
  // How far the bar shows on the screen.
  int DrawnWidth() const { return drawnWidth_; }
  // Draws the bar up to `width`, repainting only the strip that changed.
  void PaintTo(int width);
  // Empties the bar.
  void Clear();
  // The tile: column 0 in the button-face colour, the rest in the caption
  // colour.
  const QPixmap& ProgressTile() const { return tile_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void BuildTile();

  QPixmap tile_;
  int paintedWidth_ = 0;
  int drawnWidth_ = 0;
};
