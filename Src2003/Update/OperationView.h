#pragma once

// What shows a long operation. The operation calls these as its work goes
// on; a window draws them (TfrmUpdateBase), a terminal prints them
// (TTerminalOperationView), a test records them. Every call does nothing
// unless a view overrides it, so a view implements only what it shows.
//
// Texts are UTF-8. Calls come from the operation's thread (the GUI thread in
// the program).

#include <exception>
#include <string>
#include <vector>

#include "OperationLog.h"

class TTOMONode;

class TOperationView {
 public:
  virtual ~TOperationView() = default;

  // One line appended to the log; "" appends an empty line.
  virtual void AddLog(const std::string& text, TLogColour colour, TLogStyle style);

  // The progress bar starts again, empty, towards `maximum`.
  virtual void ResetProgress(int maximum);
  // The progress bar's position moved (it may exceed the maximum).
  virtual void SetProgress(int position, int maximum);

  // The list of stages and the current one, shown in bold; a current stage
  // equal to the number of lines means that all are done and none is bold.
  virtual void ShowStages(const std::vector<std::string>& lines, int current);

  // The node list, as TNodeList keeps it: Begin/End bracket a batch of
  // additions; `item` numbers are given in order from 0; `parentItem` is -1
  // for a top-level item; `node` is nullptr for the placeholder item that an
  // empty list shows. End expands every item.
  virtual void BeginNodeList();
  virtual void AddNodeItem(int item, int parentItem, const TTOMONode* node, const std::string& caption);
  virtual void SetNodeItemCaption(int item, const std::string& caption);
  virtual void EndNodeList();
  // The item becomes the selected one and is scrolled into view.
  virtual void SelectNodeItem(int item);

  // A step failed: show the error the way the program shows errors (its log
  // lines have already been added).
  virtual void ShowError(const std::exception& error);

  // Finished, Cancelled or UpdateKind of the operation changed: commands
  // that depend on them (Cancel, Hide/Close) follow.
  virtual void OperationStateChanged();
};
