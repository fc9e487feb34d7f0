#pragma once

// The step message of the long operations. Each step of an operation is one
// posted event of this type that the operation sends to itself, so the work
// runs in bounded pieces between the ordinary events of the program (paints,
// clicks, network replies) without worker threads.

#include <cstdint>

#include <QEvent>

// The private message number of an operation step; its event type.
inline constexpr int WM_OPERATIONSTEP = 32767;
inline constexpr QEvent::Type kOperationStepEvent = static_cast<QEvent::Type>(WM_OPERATIONSTEP);

// A step message as an operation keeps one for later (SavedStep): four 32-bit
// words. State 0 means "no step": a chain ends when its next state is 0.
struct TOperationStep {
  std::int32_t Msg = WM_OPERATIONSTEP;
  std::int32_t State = 0;
  std::int32_t Parameter = 0;
  std::int32_t Result = 0;
};

// The posted event that carries a step message.
class TOperationStepEvent : public QEvent {
 public:
  explicit TOperationStepEvent(const TOperationStep& step)
      : QEvent(kOperationStepEvent), step_(step) {}
  const TOperationStep& Step() const { return step_; }

 private:
  TOperationStep step_;
};
