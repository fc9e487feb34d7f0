#pragma once

#include <filesystem>

namespace lexdex {

// Deletes `folder` with everything in it. Subfolders are removed the same
// way; a symbolic link is removed itself, never followed. When the folder
// cannot be listed, nothing is removed; entries that cannot be deleted stay,
// and then so does the folder. No error is reported.
void RemoveFolder(const std::filesystem::path& folder);

}  // namespace lexdex
