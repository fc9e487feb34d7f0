#include "ProgressPaintBox.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include <QEvent>
#include <QPainter>

namespace {

// a x b / c rounded to the nearest integer, halves away from zero, with a
// 64-bit product; -1 for c = 0 (which the clamp then turns into nothing).
int MultiplyDivide(int a, int b, int c) {
  if (c == 0) return -1;
  const std::int64_t product = static_cast<std::int64_t>(a) * b;
  std::int64_t quotient = product / c;
  const std::int64_t remainder = product % c;
  if (2 * std::llabs(remainder) >= std::llabs(static_cast<std::int64_t>(c))) {
    quotient += (product < 0) != (c < 0) ? -1 : 1;
  }
  return static_cast<int>(std::clamp<std::int64_t>(quotient, INT32_MIN, INT32_MAX));
}

}  // namespace

int ProgressBarWidth(int position, int maximum, int boxWidth) {
  int width = MultiplyDivide(position, boxWidth, maximum);
  if (position < maximum) width &= ~(kProgressTileSize - 1);
  return std::clamp(width, 0, std::max(boxWidth, 0));
}

TProgressPaintBox::TProgressPaintBox(QWidget* parent) : QWidget(parent) {
  setObjectName("ProgressPaintBox");
  BuildTile();
}

void TProgressPaintBox::BuildTile() {
  tile_ = QPixmap(kProgressTileSize, kProgressTileSize);
  tile_.fill(palette().color(QPalette::Active, QPalette::Highlight));
  QPainter painter(&tile_);
  painter.fillRect(0, 0, 1, kProgressTileSize, palette().color(QPalette::Button));
}

void TProgressPaintBox::PaintTo(int width) {
  if (width == paintedWidth_) return;
  const int from = std::max(std::min(width, paintedWidth_) - 1, 0);
  const int to = std::max(width, paintedWidth_);
  paintedWidth_ = width;
  if (width > drawnWidth_) {
    drawnWidth_ = width;
    update(from, 0, to - from + 1, height());
  }
}

void TProgressPaintBox::Clear() {
  paintedWidth_ = 0;
  drawnWidth_ = 0;
  update();
}

void TProgressPaintBox::paintEvent(QPaintEvent*) {
  if (drawnWidth_ <= 0) return;
  QPainter painter(this);
  painter.setPen(Qt::NoPen);
  painter.setBrush(QBrush(tile_));
  painter.drawRect(0, 0, drawnWidth_, height());
}

void TProgressPaintBox::changeEvent(QEvent* event) {
  if (event->type() == QEvent::PaletteChange) BuildTile();
  QWidget::changeEvent(event);
}
