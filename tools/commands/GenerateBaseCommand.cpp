// pandecta-tool generate-base DATA --entries N --documents M [--seed S]
//
// Writes a synthetic document base, the same for the same seed, and prints a
// one-line summary of what it made.

#include <cstdio>
#include <string>

#include "BaseGenerator.h"
#include "ToolCommand.h"

namespace {

std::uint64_t ParseCount(const std::string& option, const std::string& text) {
  if (text.empty() || text.size() > 18 || text.find_first_not_of("0123456789") != std::string::npos) {
    throw EToolUsage{"Valor inválido para " + option + ": " + text};
  }
  return std::stoull(text);
}

std::int32_t ParseLimited(const std::string& option, const std::string& text) {
  const std::uint64_t value = ParseCount(option, text);
  if (value > 2'000'000'000) throw EToolUsage{"Valor inválido para " + option + ": " + text};
  return static_cast<std::int32_t>(value);
}

int RunGenerateBase(const std::vector<std::string>& arguments) {
  if (arguments.empty()) throw EToolUsage{"Informe a pasta de dados."};
  TBaseGeneratorOptions options;
  bool hasEntries = false, hasDocuments = false;
  for (size_t i = 1; i < arguments.size(); i += 2) {
    const std::string& option = arguments[i];
    if (i + 1 >= arguments.size()) throw EToolUsage{"Falta o valor de " + option};
    const std::string& value = arguments[i + 1];
    if (option == "--entries") {
      options.Entries = ParseLimited(option, value);
      hasEntries = true;
    } else if (option == "--documents") {
      options.Documents = ParseLimited(option, value);
      hasDocuments = true;
    } else if (option == "--seed") {
      options.Seed = ParseCount(option, value);
    } else {
      throw EToolUsage{"Opção desconhecida: " + option};
    }
  }
  if (!hasEntries || !hasDocuments) throw EToolUsage{"Informe --entries e --documents."};
  const TBaseGeneratorResult result = GenerateBase(arguments[0], options);
  std::printf("%d entradas, %d pastas, %d documentos (%d imagens, %d links), %lld bytes de documentos\n",
              result.Entries, result.Folders, result.Documents, result.Bitmaps, result.Links,
              static_cast<long long>(result.DocumentBytes));
  return 0;
}

const bool registered = RegisterToolCommand(
    {"generate-base", "generate-base DATA --entries N --documents M [--seed S]", RunGenerateBase});

}  // namespace
