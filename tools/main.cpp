// pandecta-tool COMMAND [ARGUMENTS...]
//
// Inspects, indexes, searches and builds document bases from the command line.
// Output is exact so that scripts can rely on it; texts are UTF-8. Exit code 0
// on success, 1 with the error's message on standard error.

#include <clocale>
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "LxExcept.h"
#include "ToolCommand.h"

namespace {

void PrintUsage(std::FILE* out) {
  std::fprintf(out, "uso: pandecta-tool COMANDO [ARGUMENTOS...]\n\ncomandos:\n");
  for (const TToolCommand& command : ToolCommands()) {
    std::fprintf(out, "  pandecta-tool %s\n", command.Usage.c_str());
  }
}

const TToolCommand* FindCommand(const std::string& name) {
  for (const TToolCommand& command : ToolCommands()) {
    if (command.Name == name) return &command;
  }
  return nullptr;
}

}  // namespace

int main(int argc, char** argv) {
  std::setlocale(LC_ALL, "");
  if (argc < 2 || std::string(argv[1]) == "--help" || std::string(argv[1]) == "-h") {
    PrintUsage(argc < 2 ? stderr : stdout);
    return argc < 2 ? 1 : 0;
  }
  const TToolCommand* command = FindCommand(argv[1]);
  if (!command) {
    std::fprintf(stderr, "Comando desconhecido: %s\n", argv[1]);
    PrintUsage(stderr);
    return 1;
  }
  const std::vector<std::string> arguments(argv + 2, argv + argc);
  try {
    return command->Run(arguments);
  } catch (const EToolUsage& usage) {
    std::fprintf(stderr, "%s\nuso: pandecta-tool %s\n", usage.Message.c_str(), command->Usage.c_str());
  } catch (const std::exception& error) {
    std::fprintf(stderr, "%s\n", error.what());
  }
  return 1;
}
