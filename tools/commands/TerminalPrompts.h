#pragma once

#include <string>

#include "Prompts.h"

// Questions of pandecta-tool: asked on the terminal when standard input is
// one ("s" or "sim" answers Yes), otherwise answered No / Cancel, as a
// process without a user must. Notices go to standard error.
class TTerminalPrompts : public TPrompts {
 public:
  void Inform(const std::string& message) override;
  bool AskYesNo(const std::string& message) override;
  bool AskOkCancel(const std::string& message) override;

 private:
  bool Ask(const std::string& message, const char* choices, const char* unattendedAnswer);
};
