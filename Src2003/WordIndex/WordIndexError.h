#pragma once

#include <string>

#include "LxExcept.h"

// Failures of opening and using the word index; the message is shown to the
// user as it stands.
class EWordIndexError : public ELxException {
 public:
  explicit EWordIndexError(std::string message)
      : ELxException(std::move(message), "EWordIndexError") {}
};
