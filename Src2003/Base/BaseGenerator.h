#pragma once

#include <cstdint>
#include <string>

// A synthetic document base for tests, benchmarks and demonstrations,
// reproducible from its seed: folders several levels deep with titles,
// document entries with summaries, RTF documents of Portuguese-like text
// (Zipfian word frequencies, a few KB typical, some large), links between
// documents and some bitmaps.
struct TBaseGeneratorOptions {
  std::int32_t Entries = 1000;   // all entries, root and folders included
  // Entries with a document file; the other leaves of the tree are titled and
  // summarised entries without one. Never more than the leaves.
  std::int32_t Documents = 100;
  std::uint64_t Seed = 1;
};

struct TBaseGeneratorResult {
  std::int32_t Entries = 0;
  std::int32_t Folders = 0;  // root included; the rest are leaves
  std::int32_t Documents = 0;
  std::int32_t Bitmaps = 0;
  std::int32_t Links = 0;
  std::int64_t DocumentBytes = 0;  // stored sizes of all document files
};

// Writes TOMOIdx.dat and the document files into `folder` (created if
// missing). Raises ELxException for options out of range.
TBaseGeneratorResult GenerateBase(const std::string& folder, const TBaseGeneratorOptions& options);
