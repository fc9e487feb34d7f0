#include "StartupStages.h"

#include <QCoreApplication>
#include <QWidget>

#include "ClientEvents.h"

TStartupStages::TStartupStages(QWidget& window) : QObject(&window) { window.installEventFilter(this); }

bool TStartupStages::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Show && !shownOnce_) {
    shownOnce_ = true;
    QCoreApplication::postEvent(this, new TClientMessage(kStartupStageEvent, kFirstStartupStage));
  }
  return QObject::eventFilter(watched, event);
}

void TStartupStages::customEvent(QEvent* event) {
  if (event->type() != kStartupStageEvent) {
    QObject::customEvent(event);
    return;
  }
  RunStage(static_cast<TClientMessage*>(event)->Value());
}

void TStartupStages::RunStage(int stage) {
  if (stage <= kLastFlushStage) QCoreApplication::processEvents();
  if (stage < kFinalStartupStage) {
    QCoreApplication::postEvent(this, new TClientMessage(kStartupStageEvent, stage + 1));
    return;
  }
  if (!package_.isEmpty()) emit UpdateRequested(package_);
}
