#pragma once

// TStepTimer: how long the steps of an operation take. The program stays
// responsive only while every step is short (the goal is kStepGoal), so the
// operation times each step and keeps the longest one and its state; the
// benchmarks and `pandecta-tool` (PANDECTA_STEP_TIMES=1) report it.
//
//   TStepTimer timer;
//   {
//     const TStepTimer::TScope timing = timer.Time(message.State);
//     Step(message, nextState, nextParameter);
//   }                                    // recorded here, even when Step raised
//   timer.Summary()   "Passos: 8357; o mais longo: 12.4 ms (estado 16); acima de 50 ms: 0"
//   timer.StateTotals()   "Tempo por estado: 16: 3.512 s (máx. 12.4 ms); 17: 0.140 s (máx. 140.0 ms)"

#include <chrono>
#include <cstdint>
#include <map>
#include <string>

class TStepTimer {
 public:
  using TClock = std::chrono::steady_clock;
  using TDuration = TClock::duration;
  // The longest a step may take before a window feels stuck.
  static constexpr std::chrono::milliseconds kStepGoal{50};

  // Times one step from its making to its end.
  class TScope {
   public:
    TScope(TStepTimer& timer, int state) : timer_(timer), state_(state), start_(TClock::now()) {}
    ~TScope() { timer_.Record(state_, TClock::now() - start_); }
    TScope(const TScope&) = delete;
    TScope& operator=(const TScope&) = delete;

   private:
    TStepTimer& timer_;
    int state_;
    TClock::time_point start_;
  };

  [[nodiscard]] TScope Time(int state) { return TScope(*this, state); }
  void Record(int state, TDuration duration);

  std::int64_t Steps() const { return steps_; }
  TDuration Longest() const { return longest_; }
  // The state of the longest step; 0 before any step.
  int LongestState() const { return longestState_; }
  std::int64_t StepsOverGoal() const { return stepsOverGoal_; }
  double LongestMilliseconds() const;
  // One line for a terminal or a benchmark's log (see above).
  std::string Summary() const;
  // The time all steps of each state took, and the longest of them, in
  // state order, on one line.
  std::string StateTotals() const;

 private:
  std::int64_t steps_ = 0;
  std::int64_t stepsOverGoal_ = 0;
  TDuration longest_{0};
  int longestState_ = 0;
  struct TStateTimes {
    TDuration Total{0};
    TDuration Longest{0};
  };
  std::map<int, TStateTimes> byState_;
};
