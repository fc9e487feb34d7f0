#pragma once

// What a long operation tells whoever shows it: log lines, progress, the
// stage list and the node list. It keeps the state a window shown late
// needs (stages, current stage, progress) and passes every change to the
// view at once.
//
//   TOperationReport report;
//   report.SetView(&view);                           // nullptr: nothing shows it
//   report.SetStages({"Contando", "Concluído"});
//   report.AddLog(": Contando", TLogColour::Blue);
//   report.ResetProgress(10);
//   report.SetProgress(4);
//   report.NextStage();

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "LxText.h"
#include "NodeList.h"
#include "OperationLog.h"

class TOperationView;
class TTOMONode;

class TOperationReport {
 public:
  TOperationReport();
  ~TOperationReport();

  // Not owned; nullptr: a silent view. Set it before the first step.
  void SetView(TOperationView* view);
  TOperationView& View() const { return *view_; }

  // --- Log -------------------------------------------------------------------
  void AddLog(const std::string& text, TLogColour colour, TLogStyle style = TLogStyle::Plain);
  // FormatMessage, then AddLog:
  //   report.AddLogFmt(TLogColour::Green, TLogStyle::Plain, "! %d documentos copiados", 3);
  template <class... TArgs>
  void AddLogFmt(TLogColour colour, TLogStyle style, const char* format, TArgs... arguments) {
    AddLog(FormatMessage(format, arguments...), colour, style);
  }

  // --- Progress --------------------------------------------------------------
  void ResetProgress(int maximum);
  // The position counts in 64 bits (an Internet update moves it by every
  // byte received, well past 2 GiB in one run); the view sees it clamped.
  void SetProgress(std::int64_t position);
  int ProgressMax() const { return progressMaximum_; }
  std::int64_t ProgressPosition() const { return progressPosition_; }

  // --- Stage list ------------------------------------------------------------
  // The lines of the stage list; the current stage stays where it is (0, the
  // first line, at creation).
  void SetStages(std::vector<std::string> lines);
  void SetStageLine(int index, std::string text);
  // The current stage moves to the next line; after the last line no stage
  // is current.
  void NextStage();
  const std::vector<std::string>& Stages() const { return stages_; }
  int CurrentStage() const { return currentStage_; }

  // --- Node list -------------------------------------------------------------
  TNodeList& Nodes() { return nodes_; }
  const TNodeList& Nodes() const { return nodes_; }

 private:
  void ShowStages();

  std::unique_ptr<TOperationView> silentView_;
  TOperationView* view_;
  std::int64_t progressPosition_ = 0;
  int progressMaximum_ = 0;
  std::vector<std::string> stages_;
  int currentStage_ = 0;
  TNodeList nodes_;
};
