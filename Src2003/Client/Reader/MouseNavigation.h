#pragma once

#include <QObject>

class QAction;
class QWidget;

// The mouse's back and forward side buttons, pressed anywhere in a window,
// trigger that window's back and forward commands (when they are enabled).
// The child that the mouse is over would otherwise take the press itself.
class TMouseNavigation : public QObject {
  Q_OBJECT

 public:
  TMouseNavigation(QWidget& window, QAction& back, QAction& forward);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget& window_;
  QAction& back_;
  QAction& forward_;
};
