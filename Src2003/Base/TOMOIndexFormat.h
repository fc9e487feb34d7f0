#pragma once

#include <string>
#include <vector>

// Names and fixed lines of the index file of a document base.

// The index file and the two stages of its commit.
inline constexpr const char* kIndexFileName = "TOMOIdx.dat";
inline constexpr const char* kIndexNewFileName = "TOMOIdx.new";
inline constexpr const char* kIndexTempFileName = "TOMOIdx.tmp";

// The compressed index that travels in updates, and the name it expands to.
inline constexpr const char* kCompressedIndexFileName = "tomoidxz.dat";
inline constexpr const char* kExpandedIndexFileName = "tomoidx.dat";

// Line 1 of every index file, in Windows-1252 ("TOMO.Sumário").
const std::string& IndexSignature();

// The comment block the writer puts after the signature, in Windows-1252.
const std::vector<std::string>& IndexCommentBlock();

// The full path of a fixed file name in a folder, found without regard to
// case (an index expanded as "tomoidx.dat" is read as "TOMOIdx.dat").
std::string IndexFilePath(const std::string& folder, const char* name);

// True when the file exists and its first line is the index signature
// (compared without regard to case, blanks and control characters at both
// ends ignored). Never raises.
bool HasIndexSignature(const std::string& path);
