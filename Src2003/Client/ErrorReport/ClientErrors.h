#pragma once

#include <string>

#include "LxExcept.h"

// A failure of the reader's own logic that the user has to be told about,
// such as a link whose target entry is missing from the base.
class ETOMOError : public ELxException {
 public:
  explicit ETOMOError(std::string message) : ELxException(std::move(message), "ETOMOError") {}
};
