#include "TerminalPrompts.h"

#include <cctype>
#include <cstdio>
#include <iostream>

#include <unistd.h>

namespace {

std::string Lowered(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

bool IsYes(const std::string& answer) {
  const std::string lowered = Lowered(answer);
  return lowered == "s" || lowered == "sim" || lowered == "ok";
}

}  // namespace

void TTerminalPrompts::Inform(const std::string& message) { std::fprintf(stderr, "%s\n", message.c_str()); }

bool TTerminalPrompts::AskYesNo(const std::string& message) { return Ask(message, "[s/N]", "[Não]"); }

bool TTerminalPrompts::AskOkCancel(const std::string& message) {
  return Ask(message, "[ok/Cancelar]", "[Cancelar]");
}

bool TTerminalPrompts::Ask(const std::string& message, const char* choices, const char* unattendedAnswer) {
  if (!::isatty(STDIN_FILENO)) {
    std::fprintf(stderr, "%s %s\n", message.c_str(), unattendedAnswer);
    return false;
  }
  std::fprintf(stderr, "%s %s ", message.c_str(), choices);
  std::fflush(stderr);
  std::string answer;
  if (!std::getline(std::cin, answer)) return false;
  return IsYes(answer);
}
