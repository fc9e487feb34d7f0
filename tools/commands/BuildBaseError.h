#pragma once

#include <string>

#include "LxExcept.h"

// A source folder that cannot become a document base: a missing file, a
// broken manifest line, a link to nothing. The message names the file and,
// for the manifest, the line:
//   "demo/manifest.txt, linha 12: data inválida '31/02/2023'"
class EBuildBaseError : public ELxException {
 public:
  explicit EBuildBaseError(std::string message) : ELxException(std::move(message), "EBuildBaseError") {}
};
