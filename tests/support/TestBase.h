#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "TOMORecord.h"

// One entry of a hand-made test base. A document entry gets document number
// = Id and, for rich text, an RTF body holding `Text` (UTF-8).
struct TTestEntry {
  std::int32_t Id;
  std::int32_t ParentId;
  std::string Title;
  char Kind = 0;  // 0 folder, 'T' rich text, 'B' bitmap
  std::string Text{};
};

// Writes TOMOIdx.dat and the document files into `folder`; the root (Id 0)
// is added first.
void WriteTestBase(const std::string& folder, const std::vector<TTestEntry>& entries);

// A minimal RTF document with one paragraph per line of `text` (UTF-8).
std::string RtfOf(const std::string& text);
