#pragma once

// The notification-area icon of a running operation: hint "Atualizando dados
// do Pandecta", animated through its frames every 1500 ms. Its owner shows it
// only where the desktop has a notification area.

#include <memory>
#include <vector>

#include <QIcon>
#include <QSystemTrayIcon>

class QMenu;
class QTimer;

class TUpdateTrayIcon : public QSystemTrayIcon {
  Q_OBJECT

 public:
  static constexpr int kAnimationDelayMs = 1500;
  static constexpr char kHint[] = "Atualizando dados do Pandecta";

  explicit TUpdateTrayIcon(QObject* parent = nullptr);
  ~TUpdateTrayIcon() override;

  int FrameCount() const { return static_cast<int>(frames_.size()); }
  int CurrentFrame() const { return frame_; }
  // Shows the next frame (the animation timer's tick).
  void NextFrame();
  QTimer* AnimationTimer() const { return timer_; }
  // "Janela informativa visível": kept for the desktop's own menu, never
  // popped up by the icon.
  QMenu* PopupMenu() const { return popupMenu_.get(); }

 private:
  std::vector<QIcon> frames_;
  int frame_ = 0;
  QTimer* timer_;
  std::unique_ptr<QMenu> popupMenu_;
};
