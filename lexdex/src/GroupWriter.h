#pragma once

// Writing a group file (layout in GroupFormat.h).

#include <cstdint>
#include <string>
#include <vector>

#include "ElementArena.h"

namespace lexdex {

// How often the group file is tried, creating its folder after the first
// failure, before the group is given up.
inline constexpr int kGroupFileCreateAttempts = 3;

// The group file's bytes for the arena's elements (sorts the arena).
void EncodeGroupFile(ElementArena& arena, std::vector<std::uint8_t>& out);

// Creates (truncates) the group file and writes `bytes`; when the file cannot
// be created, creates its group folder and tries again, a bounded number of
// times. False when the file could not be created or written.
bool WriteGroupFile(const std::string& folder, int group, const std::vector<std::uint8_t>& bytes);

}  // namespace lexdex
