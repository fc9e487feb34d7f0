#pragma once

#include <string>
#include <utility>

#include "LxExcept.h"

// Raised for an index file or a record that the document base cannot accept:
// a wrong signature, a record that is its own parent.
class ETOMOFileError : public ELxException {
 public:
  explicit ETOMOFileError(std::string message) : ELxException(std::move(message), "ETOMOFileError") {}
};
