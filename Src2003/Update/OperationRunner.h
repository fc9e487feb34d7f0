#pragma once

// Running an operation without a window (pandecta-tool, tests).

class TOperation;

// Runs the event loop until the operation's chain has ended (ChainEnded):
// the caller has posted its first step or started its first request. Returns
// at once when nothing runs. The result is 0 when the operation finished
// without error or cancel, 1 otherwise: an exit code for a script.
//
//   TMyOperation operation;
//   operation.SetView(&terminalView);
//   operation.PostStep(WM_OPERATIONSTEP, 1, 0);
//   return RunOperation(operation);
int RunOperation(TOperation& operation);
