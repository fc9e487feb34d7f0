// pandecta-tool build-base SRC DATA
//
// Turns a source folder (manifest.txt beside RTF and BMP files, see
// BuildBaseManifest.h) into a document base in DATA: TOMOIdx.dat and one
// document file per text or picture. Everything is checked before anything
// is written, and DATA is replaced only once the new base is complete.

#include <cstdio>
#include <filesystem>

#include "BuildBaseError.h"
#include "BuildBaseManifest.h"
#include "BuildBasePlan.h"
#include "BuildBaseWriter.h"
#include "LxFilUtl.h"
#include "ToolCommand.h"

namespace {

constexpr const char* kManifestFileName = "manifest.txt";

size_t CountLinks(const TBasePlan& plan) {
  size_t links = 0;
  for (const TPlannedDocument& document : plan.Documents) links += document.Links.size();
  return links;
}

int RunBuildBase(const std::vector<std::string>& arguments) {
  if (arguments.size() != 2) throw EToolUsage{"build-base precisa da pasta de origem e da pasta de dados"};
  const std::string& source = arguments[0];
  const std::string& data = arguments[1];
  if (!std::filesystem::is_directory(source)) {
    throw EBuildBaseError(FormatMessage("Pasta de origem não encontrada: %s", source.c_str()));
  }
  const TManifest manifest = ReadManifest(PathJoin(source, kManifestFileName));
  const TBasePlan plan = PlanBase(manifest, source);
  InstallBase(plan, data);
  const size_t folders = plan.Records.size() - 1 - plan.Documents.size();
  std::printf("Base criada em %s: %zu pastas, %zu documentos, %zu links\n", data.c_str(), folders,
              plan.Documents.size(), CountLinks(plan));
  return 0;
}

const bool registered = RegisterToolCommand({"build-base", "build-base SRC DATA", RunBuildBase});

}  // namespace
