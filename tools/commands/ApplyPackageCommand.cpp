// pandecta-tool apply-package DATA EXTRA VOLUME [--download DIR]
//
// Applies the update package whose (first) volume is VOLUME to the base in
// DATA, the word index in EXTRA following it, through the same states as the
// program's update window. The log goes to standard error; the next volume is
// asked for on the terminal (read again from the same path), and without a
// terminal the question is answered Cancel and the update ends unapplied.
// The joined package and the new tree go to DIR, by default EXTRA/Download.
// Exit code 0 only when the update completed.
//
// For the crash tests, PANDECTA_TEST_KILL_AFTER_LINE=k makes the process kill
// itself right after the k-th log line, as a crash would.

#include <string>
#include <vector>

#include "InstalledCollection.h"
#include "LxFilUtl.h"
#include "TOMODocumentSet.h"
#include "TerminalPrompts.h"
#include "ToolCommand.h"
#include "ToolOperation.h"
#include "PackageUpdate.h"
#include "WordIndex.h"

namespace {

constexpr char kDefaultDownloadFolder[] = "Download";

int RunApplyPackage(const std::vector<std::string>& arguments) {
  std::vector<std::string> positional;
  std::string downloadFolder;
  for (size_t i = 0; i < arguments.size(); ++i) {
    if (arguments[i] == "--download" && i + 1 < arguments.size()) {
      downloadFolder = arguments[++i];
    } else {
      positional.push_back(arguments[i]);
    }
  }
  if (positional.size() != 3) throw EToolUsage{"Informe a pasta de dados, a pasta do índice e o pacote."};
  const std::string& dataFolder = positional[0];
  const std::string& indexFolder = positional[1];
  if (downloadFolder.empty()) downloadFolder = PathJoin(indexFolder, kDefaultDownloadFolder);

  TToolEventLoop loop;
  TTerminalPrompts prompts;
  TScopedPrompts scopedPrompts(prompts);

  ForceDirectories(dataFolder);
  TTOMODocumentFolder documents(dataFolder);
  TWordIndex index(indexFolder);
  // The update indexes the titles itself, through its own lock.
  TInstalledCollection collection([dataFolder] { return dataFolder; }, [] { return nullptr; });
  LoadTreeIfInstalled(collection, dataFolder);

  TPackageUpdate update(collection, &index);
  update.SetDownloadFolder(downloadFolder);
  RunToolOperation(update, [&] { update.StartPackage(positional[2]); });
  return update.Completed() ? 0 : 1;
}

const bool registered =
    RegisterToolCommand({"apply-package", "apply-package DATA EXTRA VOLUME [--download DIR]", RunApplyPackage});

}  // namespace
