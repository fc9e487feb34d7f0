#include "DocumentFileName.h"

#include "LxExcept.h"
#include "LxFilUtl.h"

namespace {

constexpr std::int32_t kDocumentsPerVolume = 100;
constexpr const char* kDocumentExtension = "dat";

}  // namespace

std::string DocumentFileName(const std::string& folder, std::int32_t number) {
  const std::int32_t volume = number / kDocumentsPerVolume * kDocumentsPerVolume;
  const std::string volumeFolder = PathJoin(folder, FormatMessage("Doc%5.5d", volume));
  return PathJoin(volumeFolder, FormatMessage("Doc%5.5d.%s", number, kDocumentExtension));
}
