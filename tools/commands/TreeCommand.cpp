// pandecta-tool tree DATA
//
// One line per entry, in pre-order from the root:
//   Id<TAB>ParentId<TAB>Level<TAB>DocumentNumber<TAB>Kind<TAB>Title
// Kind is empty when its code is 0; texts are UTF-8.

#include <cstdio>
#include <string>

#include "LxCodePage.h"
#include "TOMOTree.h"
#include "ToolCollection.h"
#include "ToolCommand.h"

namespace {

std::string KindText(char kind) { return kind == 0 ? std::string() : Win1252ToUtf8(std::string(1, kind)); }

int RunTree(const std::vector<std::string>& arguments) {
  if (arguments.size() != 1) throw EToolUsage{"Informe a pasta de dados."};
  const TToolCollection base(arguments[0]);
  const TTOMOTree& tree = base.Tree();
  std::string out;
  for (auto it = tree.Iterator(); !it.Eof(); it.Next()) {
    const TTOMONode& node = *it.Current();
    const TTOMORecordH& record = node.Record();
    out += std::to_string(record.Id) + '\t' + std::to_string(record.ParentId) + '\t' +
           std::to_string(node.Level()) + '\t' + std::to_string(record.DocumentNumber) + '\t' +
           KindText(record.Kind) + '\t' + Win1252ToUtf8(record.Title) + '\n';
    if (out.size() > 1 << 16) {
      std::fwrite(out.data(), 1, out.size(), stdout);
      out.clear();
    }
  }
  std::fwrite(out.data(), 1, out.size(), stdout);
  return std::fflush(stdout) == 0 ? 0 : 1;
}

const bool registered = RegisterToolCommand({"tree", "tree DATA", RunTree});

}  // namespace
