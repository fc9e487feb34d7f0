// pandecta-tool update [--url URL]
//
// The Internet update of the program's window, without a window: the base in
// the setting DataFolder is brought up to the update server's (UpdateURL,
// or URL), through the settings' proxy, the documents received into
// DownloadFolder, the word index in ExtraFolder following it under its
// directory lock, as the program takes it. The log goes to standard error.
// Exit code 0 only when the log ends in "Atualização concluída com êxito",
// so that a scheduled job can tell.
//
// For the crash tests, PANDECTA_TEST_KILL_AFTER_LINE=k makes the process kill
// itself right after the k-th log line, as a crash would.

#include <string>
#include <vector>

#include "ConfigUnit.h"
#include "InstalledCollection.h"
#include "LxFilUtl.h"
#include "TOMODocumentSet.h"
#include "TerminalPrompts.h"
#include "ToolCommand.h"
#include "ToolOperation.h"
#include "InternetUpdate.h"
#include "WordIndex.h"

namespace {

int RunUpdate(const std::vector<std::string>& arguments) {
  std::string url;
  for (size_t i = 0; i < arguments.size(); ++i) {
    if (arguments[i] == "--url" && i + 1 < arguments.size()) {
      url = arguments[++i];
    } else {
      throw EToolUsage{"Argumento desconhecido: " + arguments[i]};
    }
  }
  TToolEventLoop loop;
  TTerminalPrompts prompts;
  TScopedPrompts scopedPrompts(prompts);

  const std::string dataFolder = Config().GetString(DataFolder);
  ForceDirectories(dataFolder);
  TTOMODocumentFolder documents(dataFolder);
  TWordIndex index([] { return Config().GetString(ExtraFolder); });
  // The update indexes the title words itself, through its own lock.
  TInstalledCollection collection([dataFolder] { return dataFolder; }, [] { return nullptr; });
  LoadTreeIfInstalled(collection, dataFolder);

  TInternetUpdate update(collection, &index);
  if (!url.empty()) update.SetUpdateURL(url);
  return RunToolOperation(update, [&update] { update.Start(); });
}

const bool registered = RegisterToolCommand({"update", "update [--url URL]", RunUpdate});

}  // namespace
