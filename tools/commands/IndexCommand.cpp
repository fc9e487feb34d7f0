// pandecta-tool index DATA EXTRA
//
// Builds the complete word index of the base at DATA in the word index folder
// EXTRA (the folder of lock.dat, OutOfDate.txt and TOMOACL) with the index
// build window's operation: every text document, then the title group; the
// index is then marked up to date. The window's log (counting, one line per
// document, results) goes to standard error, with a progress bar on a
// terminal.

#include <string>
#include <vector>

#include "IndexBuildOperation.h"
#include "TerminalPrompts.h"
#include "ToolCollection.h"
#include "ToolCommand.h"
#include "ToolOperation.h"
#include "WordIndex.h"

namespace {

int RunIndex(const std::vector<std::string>& arguments) {
  if (arguments.size() != 2) throw EToolUsage{"Informe a pasta de dados e a pasta do índice."};
  TToolEventLoop loop;
  TTerminalPrompts prompts;
  TScopedPrompts scopedPrompts(prompts);
  TWordIndex index(arguments[1]);
  TToolCollection base(arguments[0], &index);
  TIndexBuildOperation build(index, base.Collection());
  return RunToolOperation(build, [&build] { build.Start(); });
}

const bool registered = RegisterToolCommand({"index", "index DATA EXTRA", RunIndex});

}  // namespace
