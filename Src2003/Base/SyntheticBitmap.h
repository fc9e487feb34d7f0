#pragma once

#include <cstdint>
#include <string>

// A Windows bitmap file (BMP with its file header, 24 bits per pixel) of the
// given size, painted with a simple pattern chosen by `pattern`.
std::string SyntheticBitmap(std::int32_t width, std::int32_t height, std::uint32_t pattern);
