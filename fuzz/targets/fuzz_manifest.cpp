// build-base's manifest, read from a file as the tool reads it.

#include "BuildBaseManifest.h"
#include "FuzzSupport.h"
#include "LxExcept.h"
#include "LxFilUtl.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string fileName = PathJoin(FuzzScratchFolder(), "manifest.txt");
  WriteFuzzFile(fileName, data, size);
  try {
    (void)ReadManifest(fileName);
  } catch (const ELxException&) {
  }
  return 0;
}
