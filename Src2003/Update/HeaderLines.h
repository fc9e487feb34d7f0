#pragma once

// Lookups in a header block kept as its lines (package and document headers
// of the updates). A line's name is its text before the first colon, taken
// exactly as it stands: "Título: A" is named "Título", "Título : A" is named
// "Título " and does not answer to "Título". Names compare without regard to
// case (Windows-1252 letters included); texts are Windows-1252 like the
// files they come from.
//
//   lines {"Título: A", "Seqüência: 1", "título: B"}
//   FindHeaderLine(lines, "TÍTULO")   2   (the last line of a name wins)
//   HeaderValue(lines, "Título")      "B" (trimmed at both ends)
//   HeaderValue(lines, "Tamanho")     ""  (no such line)

#include <string>
#include <string_view>

#include "LxText.h"

// The index of the last line named `name`, or -1.
int FindHeaderLine(const TLxStringList& lines, std::string_view name);
// The trimmed text after the first colon of that line; "" when there is none.
std::string HeaderValue(const TLxStringList& lines, std::string_view name);
