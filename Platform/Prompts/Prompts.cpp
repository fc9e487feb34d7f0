#include "Prompts.h"

#include <atomic>
#include <cstdio>

namespace {

class TUnattendedPrompts : public TPrompts {
 public:
  void Inform(const std::string& message) override { std::fprintf(stderr, "%s\n", message.c_str()); }
  bool AskYesNo(const std::string& message) override {
    std::fprintf(stderr, "%s [Não]\n", message.c_str());
    return false;
  }
  bool AskOkCancel(const std::string& message) override {
    std::fprintf(stderr, "%s [Cancelar]\n", message.c_str());
    return false;
  }
};

TUnattendedPrompts unattended;
std::atomic<TPrompts*> installed{nullptr};

}  // namespace

TPrompts& Prompts() {
  TPrompts* current = installed.load();
  return current ? *current : unattended;
}

TPrompts* SetPrompts(TPrompts* prompts) { return installed.exchange(prompts); }

void TScriptedPrompts::Inform(const std::string& message) { notices_.push_back(message); }

bool TScriptedPrompts::AskYesNo(const std::string& message) { return NextAnswer(message); }

bool TScriptedPrompts::AskOkCancel(const std::string& message) { return NextAnswer(message); }

bool TScriptedPrompts::NextAnswer(const std::string& question) {
  questions_.push_back(question);
  if (answers_.empty()) return false;
  const bool answer = answers_.front();
  answers_.pop_front();
  return answer;
}
