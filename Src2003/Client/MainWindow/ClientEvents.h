#pragma once

#include <QEvent>

// Private messages of the main window's helpers. Their numbers are the
// event types: 32766 walks the start-up stages, 32767 re-measures the lists
// after the window's width settled.
inline constexpr int kStartupStageMessage = 32766;
inline constexpr int kResizeMessage = 32767;
inline constexpr QEvent::Type kStartupStageEvent = static_cast<QEvent::Type>(kStartupStageMessage);
inline constexpr QEvent::Type kResizeEvent = static_cast<QEvent::Type>(kResizeMessage);

// Start-up stages: 0 to 10 let pending messages run and post the next one,
// 11 posts 12, and 12 starts an update from a package named on the command
// line, once the window has painted completely.
inline constexpr int kFirstStartupStage = 0;
inline constexpr int kLastFlushStage = 10;
inline constexpr int kFinalStartupStage = 12;

// A posted message with its one parameter (a stage, a width).
class TClientMessage : public QEvent {
 public:
  TClientMessage(QEvent::Type type, int value) : QEvent(type), value_(value) {}
  int Value() const { return value_; }

 private:
  int value_;
};
