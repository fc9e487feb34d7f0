#include "OperationReport.h"

#include <algorithm>
#include <limits>

#include "OperationView.h"

TOperationReport::TOperationReport()
    : silentView_(std::make_unique<TOperationView>()), view_(silentView_.get()) {}

TOperationReport::~TOperationReport() = default;

void TOperationReport::SetView(TOperationView* view) {
  view_ = view ? view : silentView_.get();
  nodes_.SetView(view);
}

void TOperationReport::AddLog(const std::string& text, TLogColour colour, TLogStyle style) {
  View().AddLog(text, colour, style);
}

void TOperationReport::ResetProgress(int maximum) {
  progressPosition_ = 0;
  progressMaximum_ = maximum;
  View().ResetProgress(maximum);
}

void TOperationReport::SetProgress(std::int64_t position) {
  progressPosition_ = position;
  const std::int64_t shown = std::clamp<std::int64_t>(position, 0, std::numeric_limits<int>::max());
  View().SetProgress(static_cast<int>(shown), progressMaximum_);
}

void TOperationReport::SetStages(std::vector<std::string> lines) {
  stages_ = std::move(lines);
  ShowStages();
}

void TOperationReport::SetStageLine(int index, std::string text) {
  if (index < 0) return;
  if (static_cast<size_t>(index) >= stages_.size()) stages_.resize(static_cast<size_t>(index) + 1);
  stages_[static_cast<size_t>(index)] = std::move(text);
  ShowStages();
}

void TOperationReport::NextStage() {
  if (currentStage_ >= static_cast<int>(stages_.size())) return;
  ++currentStage_;
  ShowStages();
}

void TOperationReport::ShowStages() { View().ShowStages(stages_, currentStage_); }
