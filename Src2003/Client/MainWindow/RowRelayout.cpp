#include "RowRelayout.h"

#include <QAbstractItemView>
#include <QCoreApplication>

#include "ClientEvents.h"

TRowRelayout::TRowRelayout(QWidget& watched, QWidget& window, std::vector<QAbstractItemView*> lists)
    : QObject(&window), watched_(watched), window_(window), lists_(std::move(lists)) {
  watched_.installEventFilter(this);
}

bool TRowRelayout::eventFilter(QObject* watched, QEvent* event) {
  if (watched == &watched_ && event->type() == QEvent::Resize) {
    QCoreApplication::postEvent(this, new TClientMessage(kResizeEvent, window_.width()));
  }
  return QObject::eventFilter(watched, event);
}

void TRowRelayout::customEvent(QEvent* event) {
  if (event->type() != kResizeEvent) {
    QObject::customEvent(event);
    return;
  }
  if (static_cast<TClientMessage*>(event)->Value() != window_.width()) return;
  for (QAbstractItemView* list : lists_) list->doItemsLayout();
}
