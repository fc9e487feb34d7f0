// pandecta-tool index DATA EXTRA
//
// Builds the complete word index of the base at DATA in the word index folder
// EXTRA (the folder of lock.dat, OutOfDate.txt and TOMOACL), as the index
// build window does: every text document, then the title group; the index is
// then marked up to date. Progress goes to standard error.

#include <cstdio>
#include <string>
#include <vector>

#include "IndexBuildSequence.h"
#include "TerminalPrompts.h"
#include "ToolCollection.h"
#include "ToolCommand.h"
#include "WordIndex.h"

namespace {

// One progress line per this many documents keeps a long build readable.
constexpr int kDocumentsPerProgressLine = 1000;

class TTerminalBuildReport : public TIndexBuildReport {
 public:
  void AddLog(TLineKind kind, const std::string& text) override {
    if (kind != TLineKind::Detail) std::fprintf(stderr, "%s\n", text.c_str());
  }
  void ResetProgress(int total) override { total_ = total; }
  void SetProgress(int position) override {
    if (position % kDocumentsPerProgressLine == 0 || position == total_) {
      std::fprintf(stderr, "  %d/%d\n", position, total_);
    }
  }

 private:
  int total_ = 0;
};

int RunIndex(const std::vector<std::string>& arguments) {
  if (arguments.size() != 2) throw EToolUsage{"Informe a pasta de dados e a pasta do índice."};
  TTerminalPrompts prompts;
  TScopedPrompts scopedPrompts(prompts);
  TWordIndex index(arguments[1]);
  TToolCollection base(arguments[0], &index);
  TTerminalBuildReport report;
  TIndexBuildSequence build(index, base.Tree(), base.Documents(), report);
  while (build.Step()) {
  }
  return 0;
}

const bool registered = RegisterToolCommand({"index", "index DATA EXTRA", RunIndex});

}  // namespace
