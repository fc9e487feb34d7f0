#pragma once

#include <filesystem>
#include <string>

// A fresh, empty folder for one test, removed with everything in it when the
// object goes away. Tests that touch the file system work only inside one.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& Path() const { return path_; }
  // The folder's path joined with a relative name, as a UTF-8 string.
  std::string File(const std::string& relative) const;

 private:
  std::filesystem::path path_;
};

// Whole-file helpers for test set-up and checks.
std::string ReadWholeFile(const std::filesystem::path& path);
void WriteWholeFile(const std::filesystem::path& path, const std::string& bytes);
