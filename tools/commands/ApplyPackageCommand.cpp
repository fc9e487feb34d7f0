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

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "InstalledCollection.h"
#include "LxFilUtl.h"
#include "OperationRunner.h"
#include "TOMODocumentSet.h"
#include "TOMOIndexFormat.h"
#include "TerminalOperationView.h"
#include "TerminalPrompts.h"
#include "ToolCommand.h"
#include "UpdateOperation.h"
#include "WordIndex.h"

#include <QCoreApplication>

namespace {

constexpr char kKillAfterLineVariable[] = "PANDECTA_TEST_KILL_AFTER_LINE";
constexpr char kDefaultDownloadFolder[] = "Download";

// The terminal view, and the test hook that ends the process abruptly.
class TApplyView : public TTerminalOperationView {
 public:
  TApplyView() {
    if (const char* value = std::getenv(kKillAfterLineVariable)) killAfter_ = std::atoi(value);
  }
  void AddLog(const std::string& text, TLogColour colour, TLogStyle style) override {
    TTerminalOperationView::AddLog(text, colour, style);
    if (killAfter_ > 0 && ++lines_ == killAfter_) {
      std::fflush(stderr);
      std::raise(SIGKILL);
    }
  }

 private:
  int killAfter_ = 0;
  int lines_ = 0;
};

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

  int argc = 1;
  char name[] = "pandecta-tool";
  char* argv[] = {name, nullptr};
  QCoreApplication application(argc, argv);
  TTerminalPrompts prompts;
  TScopedPrompts scopedPrompts(prompts);

  ForceDirectories(dataFolder);
  TTOMODocumentFolder documents(dataFolder);
  TWordIndex index(indexFolder);
  // The update indexes the titles itself, through its own lock.
  TInstalledCollection collection([dataFolder] { return dataFolder; }, [] { return nullptr; });
  // A folder without a base yet takes the package's tree whole; a damaged
  // tree file is an error, never overwritten.
  // (A tree file caught between its commit's renames exists as name.new.)
  const std::string treeFile = FindFileIgnoringCase(dataFolder, kIndexFileName);
  if (FileExists(treeFile) || FileExists(treeFile + ".new")) collection.LoadTree();

  TUpdateOperation update(collection, &index);
  update.SetDownloadFolder(downloadFolder);
  TApplyView view;
  update.SetView(&view);
  update.StartPackage(positional[2]);
  RunOperation(update);
  return update.Completed() ? 0 : 1;
}

const bool registered =
    RegisterToolCommand({"apply-package", "apply-package DATA EXTRA VOLUME [--download DIR]", RunApplyPackage});

}  // namespace
