#include "StepTimer.h"

#include <cstdio>

void TStepTimer::Record(int state, TDuration duration) {
  ++steps_;
  if (duration > kStepGoal) ++stepsOverGoal_;
  if (duration > longest_ || steps_ == 1) {
    longest_ = duration;
    longestState_ = state;
  }
}

double TStepTimer::LongestMilliseconds() const {
  return std::chrono::duration<double, std::milli>(longest_).count();
}

std::string TStepTimer::Summary() const {
  char line[160];
  std::snprintf(line, sizeof line, "Passos: %lld; o mais longo: %.1f ms (estado %d); acima de %lld ms: %lld",
                static_cast<long long>(steps_), LongestMilliseconds(), longestState_,
                static_cast<long long>(kStepGoal.count()), static_cast<long long>(stepsOverGoal_));
  return line;
}
