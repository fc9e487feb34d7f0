#pragma once

#include "Prompts.h"

// Questions and notices as message boxes captioned "Pandecta", parented to
// the program's active window.
class TMessageBoxPrompts : public TPrompts {
 public:
  void Inform(const std::string& message) override;
  bool AskYesNo(const std::string& message) override;
  bool AskYesNoTitled(const std::string& title, const std::string& message) override;
  bool AskOkCancel(const std::string& message) override;
};

// The caption of every message box of the program.
inline constexpr char kProgramCaption[] = "Pandecta";
