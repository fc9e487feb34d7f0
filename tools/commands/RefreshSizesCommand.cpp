// pandecta-tool refresh-sizes DATA
//
// The document list refresh of the program, without its window: measures the
// file of every document entry of the base at DATA, stores the sizes in the
// tree (0 for a missing file) and writes the index file only when a size
// changed. The log goes to standard error.

#include <string>
#include <vector>

#include "DocumentListRefresh.h"
#include "TerminalPrompts.h"
#include "ToolCollection.h"
#include "ToolCommand.h"
#include "ToolOperation.h"

namespace {

int RunRefreshSizes(const std::vector<std::string>& arguments) {
  if (arguments.size() != 1) throw EToolUsage{"Informe a pasta de dados."};
  TToolEventLoop loop;
  TTerminalPrompts prompts;
  TScopedPrompts scopedPrompts(prompts);
  TToolCollection base(arguments[0]);
  TDocumentListRefresh refresh(base.Collection());
  return RunToolOperation(refresh, [&refresh] { refresh.Start(); });
}

const bool registered = RegisterToolCommand({"refresh-sizes", "refresh-sizes DATA", RunRefreshSizes});

}  // namespace
