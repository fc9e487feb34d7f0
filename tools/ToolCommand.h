#pragma once

#include <string>
#include <vector>

// One command of pandecta-tool. `Run` gets the arguments after the command's
// name and returns the exit code; it reports failures by throwing (main prints
// the message on standard error and exits with 1).
struct TToolCommand {
  std::string Name;   // "tree"
  std::string Usage;  // "tree DATA"
  int (*Run)(const std::vector<std::string>& arguments);
};

// Commands register themselves at start-up, one file each:
//   static const bool registered = RegisterToolCommand({"tree", "tree DATA", RunTree});
bool RegisterToolCommand(TToolCommand command);
const std::vector<TToolCommand>& ToolCommands();

// Raised by a command for wrong arguments; main adds the command's usage.
struct EToolUsage {
  std::string Message;
};
