#pragma once

// What the fuzz targets share: a scratch folder per process, on a memory file
// system when there is one, and writing the input there as a file.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// A folder of this process's own, made on first use and reused by every run.
const std::string& FuzzScratchFolder();

// Replaces `path` with exactly these bytes.
void WriteFuzzFile(const std::string& path, const std::uint8_t* data, std::size_t size);
void WriteFuzzFile(const std::string& path, std::string_view bytes);

// Empties the scratch folder (its files and subfolders).
void ClearFuzzScratchFolder();

inline std::string_view AsText(const std::uint8_t* data, std::size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}
