#include "ToolCommand.h"

#include <algorithm>

namespace {

// A function-local list, so that registration from other files' static
// initialisers never meets an unconstructed vector.
std::vector<TToolCommand>& Registry() {
  static std::vector<TToolCommand> commands;
  return commands;
}

}  // namespace

bool RegisterToolCommand(TToolCommand command) {
  auto& commands = Registry();
  const auto at = std::lower_bound(commands.begin(), commands.end(), command.Name,
                                   [](const TToolCommand& c, const std::string& name) { return c.Name < name; });
  commands.insert(at, std::move(command));
  return true;
}

const std::vector<TToolCommand>& ToolCommands() { return Registry(); }
