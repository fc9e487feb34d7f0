// A whole TOMOIdx.dat through the tree, as the program loads it: every node's
// level, index among its siblings and pre-order walk.

#include "FuzzSupport.h"
#include "LxExcept.h"
#include "LxFilUtl.h"
#include "TOMOTree.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string& folder = FuzzScratchFolder();
  WriteFuzzFile(PathJoin(folder, "TOMOIdx.dat"), data, size);
  try {
    TTOMOTree tree(folder);
    for (auto it = tree.Iterator(); !it.Eof(); it.Next()) {
      (void)it.Current()->Level();
      (void)it.Current()->IndexInParent();
    }
  } catch (const ELxException&) {
  }
  return 0;
}
