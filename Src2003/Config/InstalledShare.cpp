#include "InstalledShare.h"

#include <filesystem>
#include <system_error>

#include "LxFilUtl.h"

std::string InstalledShareFolder() {
  // PANDECTA_SHARE_RELATIVE: the share folder seen from the binary folder of
  // the install ("../share/pandecta").
  const std::filesystem::path share = std::filesystem::path(ApplicationFolder()) / PANDECTA_SHARE_RELATIVE;
  return share.lexically_normal().string();
}

std::string ProgramSharedPath(const std::string& relative) {
  const std::string beside = PathJoin(ApplicationFolder(), relative);
  std::error_code error;
  if (std::filesystem::exists(beside, error)) return beside;
  return PathJoin(InstalledShareFolder(), relative);
}
