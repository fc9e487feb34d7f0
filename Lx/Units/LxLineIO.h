#pragma once

// Unit LxStrm: CR LF text lines and header blocks on any stream.

#include <string>
#include <string_view>

#include "LxStrm.h"
#include "LxText.h"

// Writes text then CR LF (an empty text writes only CR LF). Raises
// ELxWriteError when the stream takes fewer bytes.
void WriteLine(TLxStream& stream, std::string_view text);

// The longest line any of our text files holds, with room to spare; a longer
// one is damage (or a device that never ends), not text.
inline constexpr std::size_t kLxMaxLineBytes = 1024 * 1024;

// Reads up to and including the next LF (consumed, not returned) or to the end
// of the stream; every CR is dropped. A line longer than kLxMaxLineBytes raises
// ELxReadError "Linha longa demais (mais de 1048576 bytes)".
//   "abc\r\n" gives "abc"; "x" (no LF) gives "x"; "a\rb\n" gives "ab";
//   at the end of the stream: "".
std::string ReadLine(TLxStream& stream);
// The same, telling the end apart: false when the stream was already at its
// end (nothing read, line empty); true otherwise, even for an empty line.
//   while (ReadLine(file, line)) { ... }   // every line of a file
bool ReadLine(TLxStream& stream, std::string& line);

// A header block (ReadLines, ReadHeaderValues) holds at most this many lines
// and this many bytes: a block of millions of short lines costs many times
// its size in memory, and comes from a damaged or hostile file. Past either,
// ELxReadError "Cabeçalho longo demais (mais de 4096 linhas ou 1048576 bytes)".
inline constexpr std::size_t kLxMaxHeaderLines = 4096;
inline constexpr std::size_t kLxMaxHeaderBytes = 1024 * 1024;

// Appends lines to `list` until an empty line or the end of the stream; that
// empty line is consumed and not appended. A header block: bounded as above.
void ReadLines(TLxStream& stream, TLxStringList& list);

// Reads a header block: lines of "name: value" ended by an empty line (or the
// end of the stream), each trimmed (LxTrim). The name is the trimmed text before
// the first colon and the value the trimmed text after it; a line without a
// colon is a name with an empty value. Each pair goes through SetValue: a repeated
// name (without regard to case) replaces the earlier value, an empty value
// deletes it.
//   "Data: 01/02/2003\r\nTamanho: 120\r\n\r\nmore" gives Data=01/02/2003,
//   Tamanho=120 and leaves the stream at "more".
void ReadHeaderValues(TLxStream& stream, TLxNameValueList& list);
TLxNameValueList ReadHeaderValues(TLxStream& stream);
