#include "LxExcept.h"

#include <cstdarg>
#include <cstdio>
#include <utility>

ELxException::ELxException(std::string message, std::string className)
    : message_(std::move(message)), className_(std::move(className)) {}

ELxAssertionFailed::ELxAssertionFailed(const std::string& message, std::string unitName)
    : ELxException(message + " (" + unitName + ")", "ELxAssertionFailed"),
      text_(message),
      unitName_(std::move(unitName)) {}

std::string FormatMessage(const char* format, ...) {
  va_list args;
  va_start(args, format);
  va_list sizing;
  va_copy(sizing, args);
  const int length = std::vsnprintf(nullptr, 0, format, sizing);
  va_end(sizing);
  std::string result;
  if (length > 0) {
    result.resize(static_cast<size_t>(length) + 1);
    std::vsnprintf(result.data(), result.size(), format, args);
    result.resize(static_cast<size_t>(length));
  }
  va_end(args);
  return result;
}
