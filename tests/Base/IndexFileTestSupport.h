#pragma once

#include <string>
#include <vector>

#include "TempFolder.h"

// Index files written byte by byte, as a person following the format would.
namespace indexfile {

// "TOMO.Sumário" in Windows-1252.
inline const std::string kSignature = "TOMO.Sum\xE1rio";

inline std::string Lines(const std::vector<std::string>& lines) {
  std::string bytes;
  for (const std::string& line : lines) bytes += line + "\r\n";
  return bytes;
}

// The signature, then the given lines.
inline std::string IndexBytes(const std::vector<std::string>& records) {
  return kSignature + "\r\n" + Lines(records);
}

inline void WriteIndex(const TempFolder& folder, const std::vector<std::string>& records,
                       const std::string& name = "TOMOIdx.dat") {
  WriteWholeFile(folder.Path() / name, IndexBytes(records));
}

}  // namespace indexfile
