#pragma once

// Drives operations without windows: a view that records what it is shown,
// an operation whose steps are scripted by each test, and a fixture with the
// settings in memory.

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ConfigUnit.h"
#include "Operation.h"
#include "OperationTransfer.h"
#include "OperationView.h"
#include "TempFolder.h"

struct TRecordedLine {
  std::string Text;
  TLogColour Colour;
  TLogStyle Style;
};

class TRecordingView : public TOperationView {
 public:
  void AddLog(const std::string& text, TLogColour colour, TLogStyle style) override {
    Lines.push_back({text, colour, style});
  }
  void ResetProgress(int maximum) override { Resets.push_back(maximum); }
  void SetProgress(int position, int) override { Positions.push_back(position); }
  void ShowStages(const std::vector<std::string>& lines, int current) override {
    StageLines = lines;
    CurrentStage = current;
  }
  void BeginNodeList() override { Calls.push_back("Begin"); }
  void AddNodeItem(int item, int parentItem, const TTOMONode*, const std::string& caption) override;
  void SetNodeItemCaption(int item, const std::string& caption) override;
  void EndNodeList() override { Calls.push_back("End"); }
  void SelectNodeItem(int item) override { Calls.push_back("Select " + std::to_string(item)); }
  void ShowError(const std::exception& error) override { Errors.push_back(error.what()); }
  void OperationStateChanged() override { ++StateChanges; }

  // The texts of the log, in order.
  std::vector<std::string> Texts() const;
  int CountOf(const std::string& text) const;

  std::vector<TRecordedLine> Lines;
  std::vector<int> Resets;
  std::vector<int> Positions;
  std::vector<std::string> StageLines;
  int CurrentStage = -1;
  std::vector<std::string> Calls;
  std::vector<std::string> Errors;
  int StateChanges = 0;
};

// An operation whose Step runs the function registered for the state, with
// a transfer for the steps that download.
class TScriptedOperation : public TOperation {
 public:
  using TStepFunction = std::function<void(const TOperationStep& message, int& nextState, int& nextParameter)>;

  TScriptedOperation() : transfer_(*this) {}
  TOperationTransfer& Transfer() { return transfer_; }

  void On(int state, TStepFunction step) { steps_[state] = std::move(step); }
  // "state:parameter" of every step run, in order.
  const std::vector<std::string>& Ran() const { return ran_; }

 protected:
  void Step(const TOperationStep& message, int& nextState, int& nextParameter) override;
  bool RequestsRunning() const override;
  void AbortRequests() override;

 private:
  TOperationTransfer transfer_;
  std::map<int, TStepFunction> steps_;
  std::vector<std::string> ran_;
};

// Runs the event loop until the operation's chain ends; false when it has
// not ended within the time.
bool RunChain(TOperation& operation, int timeoutMs = 10'000);

// Settings in memory, with the download folder in a scratch folder.
class OperationTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  std::string DownloadFolder() const { return folder_.File("Download"); }

  TempFolder folder_;
  TRecordingView view_;

 private:
  std::unique_ptr<TTOMOConfig> previousConfig_;
};
