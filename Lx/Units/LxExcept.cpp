#include "LxExcept.h"

#include <cstdarg>
#include <cstdio>
#include <utility>

#if __has_include(<execinfo.h>)
#include <execinfo.h>
#define LX_HAS_BACKTRACE 1
#endif

namespace {

// Deep enough for any call chain of this program; more frames cost time at
// every raise and tell support nothing new.
constexpr int kMaxRaiseFrames = 64;

std::vector<void*> CurrentCallStack() {
#ifdef LX_HAS_BACKTRACE
  std::vector<void*> frames(kMaxRaiseFrames);
  const int count = backtrace(frames.data(), kMaxRaiseFrames);
  frames.resize(count > 0 ? static_cast<size_t>(count) : 0);
  return frames;
#else
  return {};
#endif
}

}  // namespace

ELxException::ELxException(std::string message, std::string className)
    : message_(std::move(message)), className_(std::move(className)), raisedAt_(CurrentCallStack()) {}

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
