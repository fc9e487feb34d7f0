#include "ForeignErrors.h"

#include <filesystem>
#include <new>
#include <system_error>

#include "LxSystemError.h"

namespace {

// Codes of the system's own categories are errno values that have Portuguese texts.
bool IsSystemCode(const std::error_code& code) {
  return code.category() == std::generic_category() || code.category() == std::system_category();
}

TForeignError FileSystemError(const std::filesystem::filesystem_error& error) {
  std::string message = "Erro ao acessar";
  if (!error.path1().empty()) message += " \"" + error.path1().string() + "\"";
  if (!error.path2().empty()) message += " e \"" + error.path2().string() + "\"";
  const int code = IsSystemCode(error.code()) ? error.code().value() : 0;
  return {"EInOutError", message + ": " + SystemErrorText(code)};
}

}  // namespace

TForeignError DescribeForeignError(const std::exception& error) {
  if (dynamic_cast<const std::bad_alloc*>(&error)) return {"EOutOfMemory", kOutOfMemoryMessage};
  if (const auto* files = dynamic_cast<const std::filesystem::filesystem_error*>(&error)) return FileSystemError(*files);
  if (const auto* system = dynamic_cast<const std::system_error*>(&error)) {
    if (IsSystemCode(system->code())) return {"EOSError", "Erro do sistema: " + SystemErrorText(system->code().value())};
    return {"EInOutError", "Erro de leitura ou gravação."};
  }
  return {"EProgramError", kInternalErrorMessage};
}
