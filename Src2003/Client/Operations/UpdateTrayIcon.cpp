#include "UpdateTrayIcon.h"

#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QTimer>

namespace {

constexpr int kFrameCount = 4;
constexpr int kIconSize = 22;
constexpr int kArrowStep = 3;

// A sheet of paper with a downward arrow that moves a little each frame:
// documents coming in.
QIcon DrawFrame(int frame) {
  QPixmap pixmap(kIconSize, kIconSize);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(QColor(90, 90, 90), 1));
  painter.setBrush(Qt::white);
  painter.drawRect(QRectF(4.5, 2.5, 13, 17));
  painter.setPen(QPen(QColor(0, 96, 192), 2));
  const int top = 4 + frame * kArrowStep;
  painter.drawLine(11, top, 11, top + 6);
  painter.drawLine(8, top + 3, 11, top + 6);
  painter.drawLine(14, top + 3, 11, top + 6);
  return QIcon(pixmap);
}

}  // namespace

TUpdateTrayIcon::TUpdateTrayIcon(QObject* parent)
    : QSystemTrayIcon(parent), timer_(new QTimer(this)), popupMenu_(std::make_unique<QMenu>()) {
  setObjectName("JvTrayIcon");
  for (int frame = 0; frame < kFrameCount; ++frame) frames_.push_back(DrawFrame(frame));
  setIcon(frames_.front());
  setToolTip(QString::fromUtf8(kHint));
  popupMenu_->setObjectName("JvPopupMenu");
  popupMenu_->addAction(QStringLiteral("Janela informativa visível"))->setObjectName("ShowWindowMenu");
  timer_->setInterval(kAnimationDelayMs);
  connect(timer_, &QTimer::timeout, this, &TUpdateTrayIcon::NextFrame);
  timer_->start();
}

TUpdateTrayIcon::~TUpdateTrayIcon() = default;

void TUpdateTrayIcon::NextFrame() {
  frame_ = (frame_ + 1) % FrameCount();
  setIcon(frames_[static_cast<size_t>(frame_)]);
}
