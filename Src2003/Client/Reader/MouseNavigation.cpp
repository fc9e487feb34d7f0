#include "MouseNavigation.h"

#include <QAction>
#include <QApplication>
#include <QMouseEvent>
#include <QWidget>

TMouseNavigation::TMouseNavigation(QWidget& window, QAction& back, QAction& forward)
    : QObject(&window), window_(window), back_(back), forward_(forward) {
  qApp->installEventFilter(this);
}

bool TMouseNavigation::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::MouseButtonPress) return false;
  const auto* widget = qobject_cast<QWidget*>(watched);
  if (!widget || widget->window() != &window_) return false;
  const auto* press = static_cast<QMouseEvent*>(event);
  QAction* command = press->button() == Qt::BackButton      ? &back_
                     : press->button() == Qt::ForwardButton ? &forward_
                                                            : nullptr;
  if (!command) return false;
  if (command->isEnabled()) command->trigger();
  return true;
}
