#pragma once

// Little-endian 32-bit integers: every such field of a file format goes
// through these.

#include <cstdint>

#include "LxStrm.h"

// dst[0..3] = value, least significant byte first.
void EncodeFixed32(char* dst, std::uint32_t value);
std::uint32_t DecodeFixed32(const char* src);
// WriteBuffer of the 4-byte form; ReadBuffer of it (ELxReadError when short).
void WriteLittleEndian32(TLxStream& stream, std::int32_t value);
std::int32_t ReadLittleEndian32(TLxStream& stream);
