#pragma once

#include <deque>
#include <string>
#include <vector>

// Questions and notices for the user. Core code asks through this interface
// and never includes widgets: the program installs message boxes captioned
// "Pandecta", the command-line tool answers on its terminal, and tests script
// the answers.
class TPrompts {
 public:
  virtual ~TPrompts() = default;
  virtual void Inform(const std::string& message) = 0;
  // true for "Sim", false for "Não".
  virtual bool AskYesNo(const std::string& message) = 0;
  // The same question under its own title (a message box's caption); those
  // that show no title ask it as AskYesNo.
  virtual bool AskYesNoTitled(const std::string& title, const std::string& message) {
    (void)title;
    return AskYesNo(message);
  }
  // true for "OK", false for "Cancelar".
  virtual bool AskOkCancel(const std::string& message) = 0;
};

// The program-wide prompts. Until someone installs others, questions are
// answered No / Cancel and notices are written to standard error, which is
// what a process without a user should do.
TPrompts& Prompts();
// Installs `prompts` (not owned; nullptr restores the default) and returns
// the previous one.
TPrompts* SetPrompts(TPrompts* prompts);

// Answers from a script, recording every message, for tests:
//   TScriptedPrompts scripted({true, false});  // first "Sim", then "Não"
// A question beyond the script is answered No and still recorded.
class TScriptedPrompts : public TPrompts {
 public:
  explicit TScriptedPrompts(std::deque<bool> answers = {}) : answers_(std::move(answers)) {}

  void Inform(const std::string& message) override;
  bool AskYesNo(const std::string& message) override;
  bool AskOkCancel(const std::string& message) override;

  void AddAnswer(bool answer) { answers_.push_back(answer); }
  const std::vector<std::string>& Notices() const { return notices_; }
  const std::vector<std::string>& Questions() const { return questions_; }

 private:
  bool NextAnswer(const std::string& question);

  std::deque<bool> answers_;
  std::vector<std::string> notices_;
  std::vector<std::string> questions_;
};

// Installs a prompts object for the lifetime of a scope, then restores the
// previous one.
class TScopedPrompts {
 public:
  explicit TScopedPrompts(TPrompts& prompts) : previous_(SetPrompts(&prompts)) {}
  ~TScopedPrompts() { SetPrompts(previous_); }
  TScopedPrompts(const TScopedPrompts&) = delete;
  TScopedPrompts& operator=(const TScopedPrompts&) = delete;

 private:
  TPrompts* previous_;
};
