#pragma once

#include <exception>
#include <string>
#include <utility>
#include <vector>

// The one base of every exception this program raises on purpose. It carries
// the message the user will read (Brazilian Portuguese, UTF-8) and the class
// name that the error display shows ("# Exceção ELxException").
//
// Subclasses pass their own name up, e.g.
//   class ETOMOFileError : public ELxException {
//    public:
//     explicit ETOMOFileError(std::string message)
//         : ELxException(std::move(message), "ETOMOFileError") {}
//   };
class ELxException : public std::exception {
 public:
  explicit ELxException(std::string message, std::string className = "ELxException");

  const char* what() const noexcept override { return message_.c_str(); }
  const std::string& Message() const { return message_; }
  const std::string& ClassName() const { return className_; }
  // Return addresses of the calls that raised the error, innermost first,
  // taken when it was created: an error reported far from where it arose
  // still tells where that was. Empty where the platform cannot tell.
  const std::vector<void*>& RaisedAt() const { return raisedAt_; }

 private:
  std::string message_;
  std::string className_;
  std::vector<void*> raisedAt_;
};

// A caller broke a container's contract (an index out of range, a negative
// size). The message names the unit that caught it, as in
// "O índice (5) está fora dos limites (0 a 3) (LxList)".
class ELxAssertionFailed : public ELxException {
 public:
  ELxAssertionFailed(const std::string& message, std::string unitName);

  const std::string& UnitName() const { return unitName_; }
  // The message without the unit suffix.
  const std::string& Text() const { return text_; }

 private:
  std::string text_;
  std::string unitName_;
};

// The user declined to go on (Cancel in a prompt). Whoever runs the work
// stops quietly: nothing is logged and no error box is shown. Class name
// "EAbort".
//   if (!Prompts().AskOkCancel(question)) throw ELxAbort("Operação cancelada.");
class ELxAbort : public ELxException {
 public:
  explicit ELxAbort(std::string message = "Operação cancelada.")
      : ELxException(std::move(message), "EAbort") {}
};

// printf-style formatting into a std::string, for messages with placeholders:
//   FormatMessage("O índice (%d) está fora dos limites (0 a %d)", 5, 3)
//   gives "O índice (5) está fora dos limites (0 a 3)".
std::string FormatMessage(const char* format, ...) __attribute__((format(printf, 1, 2)));
