#include "DemoCollection.h"

#include <filesystem>
#include <system_error>

#include "InstalledShare.h"
#include "LxExcept.h"
#include "LxFilUtl.h"
#include "TOMOIndexFormat.h"

namespace fs = std::filesystem;

namespace {

constexpr char kDemoSubfolder[] = "demo";
constexpr char kDemoData[] = "Dados";
constexpr char kDemoExtra[] = "Extra";
constexpr fs::copy_options kReplacingTree = fs::copy_options::recursive | fs::copy_options::overwrite_existing;

[[noreturn]] void RaiseInstallError(const std::string& target, const std::error_code& error) {
  throw ELxException("Não foi possível instalar a coleção de demonstração em \"" + target + "\": " +
                     error.message());
}

void CopyInto(const fs::path& source, const fs::path& target, fs::copy_options options) {
  std::error_code error;
  fs::create_directories(target, error);
  if (!error) fs::copy(source, target, options, error);
  if (error) RaiseInstallError(target.string(), error);
}

// Every entry of the document folder but the tree file, which comes last.
void CopyDocuments(const fs::path& source, const fs::path& target) {
  std::error_code error;
  fs::create_directories(target, error);
  if (error) RaiseInstallError(target.string(), error);
  for (const fs::directory_entry& entry : fs::directory_iterator(source, error)) {
    if (entry.path().filename() == kIndexFileName) continue;
    const fs::path destination = target / entry.path().filename();
    if (entry.is_directory()) {
      CopyInto(entry.path(), destination, kReplacingTree);
    } else {
      fs::copy_file(entry.path(), destination, fs::copy_options::overwrite_existing, error);
    }
    if (error) RaiseInstallError(target.string(), error);
  }
  if (error) RaiseInstallError(target.string(), error);
}

}  // namespace

std::string DemoCollectionFolder() { return ProgramSharedPath(kDemoSubfolder); }

std::string DemoCollectionData(const std::string& demoFolder) { return PathJoin(demoFolder, kDemoData); }

bool HoldsCollection(const std::string& dataFolder) {
  return FileExists(FindFileIgnoringCase(dataFolder, kIndexFileName));
}

void InstallDemoCollection(const std::string& demoFolder, const std::string& dataFolder,
                           const std::string& extraFolder) {
  const fs::path documents = DemoCollectionData(demoFolder);
  if (!HoldsCollection(documents.string())) {
    RaiseInstallError(dataFolder, std::make_error_code(std::errc::no_such_file_or_directory));
  }
  CopyInto(PathJoin(demoFolder, kDemoExtra), extraFolder, kReplacingTree);
  CopyDocuments(documents, dataFolder);
  std::error_code error;
  fs::copy_file(documents / kIndexFileName, fs::path(dataFolder) / kIndexFileName,
                fs::copy_options::overwrite_existing, error);
  if (error) RaiseInstallError(dataFolder, error);
}
