// pandecta-tool make-package OLD NEW OUT --title T --id I [--volume-size BYTES] [--name NAME] [--all]
//
// The update package that brings the installed base OLD to the base NEW: the
// complete tree file of NEW and the documents that applying it will install
// (the same tree comparison as applying, UpdateList.h), or with --all every
// document of NEW. One volume is written as OUT/NAME; several, of at most
// BYTES payload each, as OUT/1/NAME, OUT/2/NAME, ... (one folder per medium:
// the program reads every volume from the same path). NAME defaults to
// atualizacao.dat. Prints "<volumes> volume(s), <documents> documento(s),
// <bytes> bytes".

#include <cstdio>
#include <string>
#include <vector>

#include "PackageWriter.h"
#include "ToolCommand.h"

namespace {

std::string OptionValue(const std::vector<std::string>& arguments, size_t& index) {
  if (index + 1 >= arguments.size()) throw EToolUsage{"Falta o valor de " + arguments[index] + "."};
  return arguments[++index];
}

std::int64_t VolumeSizeOf(const std::string& text) {
  size_t used = 0;
  long long value = 0;
  try {
    value = std::stoll(text, &used);
  } catch (const std::exception&) {
    used = 0;
  }
  if (used != text.size() || value <= 0) throw EToolUsage{"Tamanho de volume inválido: " + text};
  return value;
}

TPackageRequest ParseArguments(const std::vector<std::string>& arguments) {
  TPackageRequest request;
  std::vector<std::string> folders;
  bool titled = false;
  bool identified = false;
  for (size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (argument == "--title") {
      request.Title = OptionValue(arguments, i);
      titled = true;
    } else if (argument == "--id") {
      request.Id = OptionValue(arguments, i);
      identified = true;
    } else if (argument == "--volume-size") {
      request.VolumeSize = VolumeSizeOf(OptionValue(arguments, i));
    } else if (argument == "--name") {
      request.VolumeName = OptionValue(arguments, i);
    } else if (argument == "--all") {
      request.AllDocuments = true;
    } else if (argument.rfind("--", 0) == 0) {
      throw EToolUsage{"Opção desconhecida: " + argument};
    } else {
      folders.push_back(argument);
    }
  }
  if (folders.size() != 3) throw EToolUsage{"Informe a base instalada, a base nova e a pasta de saída."};
  if (!titled || !identified) throw EToolUsage{"Informe --title e --id."};
  request.OldFolder = folders[0];
  request.NewFolder = folders[1];
  request.OutFolder = folders[2];
  return request;
}

int RunMakePackage(const std::vector<std::string>& arguments) {
  const TPackageSummary summary = WritePackage(ParseArguments(arguments));
  std::printf("%d volume(s), %d documento(s), %lld bytes\n", summary.Volumes, summary.Documents,
              static_cast<long long>(summary.PayloadBytes));
  return std::fflush(stdout) == 0 ? 0 : 1;
}

const bool registered = RegisterToolCommand(
    {"make-package", "make-package OLD NEW OUT --title T --id I [--volume-size BYTES] [--name NAME] [--all]",
     RunMakePackage});

}  // namespace
