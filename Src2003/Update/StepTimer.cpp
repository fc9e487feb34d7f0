#include "StepTimer.h"

#include <algorithm>
#include <cstdio>

void TStepTimer::Record(int state, TDuration duration) {
  ++steps_;
  TStateTimes& times = byState_[state];
  times.Total += duration;
  times.Longest = std::max(times.Longest, duration);
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

std::string TStepTimer::StateTotals() const {
  std::string line = "Tempo por estado:";
  char item[80];
  const char* separator = " ";
  for (const auto& [state, times] : byState_) {
    std::snprintf(item, sizeof item, "%s%d: %.3f s (máx. %.1f ms)", separator, state,
                  std::chrono::duration<double>(times.Total).count(),
                  std::chrono::duration<double, std::milli>(times.Longest).count());
    line += item;
    separator = "; ";
  }
  return line;
}
