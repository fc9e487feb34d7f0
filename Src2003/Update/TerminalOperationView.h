#pragma once

// An operation shown on a terminal, for pandecta-tool: every log line goes to
// standard error as it comes. Only when standard error is a terminal are the
// lines coloured (ANSI) and is a progress bar kept on the last line; a log
// written to a file or a pipe holds the plain lines and nothing else.
//
//   TTerminalOperationView view;                 // standard error
//   operation.SetView(&view);
//   return RunOperation(operation);

#include <cstdio>

#include "OperationView.h"

class TTerminalOperationView : public TOperationView {
 public:
  // Columns of the progress bar between its brackets.
  static constexpr int kBarColumns = 40;

  // Standard error, coloured and with a bar when it is a terminal.
  TTerminalOperationView();
  // Any stream; `terminal` says whether to colour and draw the bar.
  TTerminalOperationView(std::FILE* out, bool terminal);
  ~TTerminalOperationView() override;

  void AddLog(const std::string& text, TLogColour colour, TLogStyle style) override;
  void ResetProgress(int maximum) override;
  void SetProgress(int position, int maximum) override;

 private:
  void DrawBar();
  void ClearBar();

  std::FILE* out_;
  bool terminal_;
  int position_ = 0;
  int maximum_ = 0;
  // What the bar line shows now (-1: no bar on the screen).
  int drawnColumns_ = -1;
  int drawnPercent_ = -1;
};
