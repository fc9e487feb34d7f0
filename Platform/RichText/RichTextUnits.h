#pragma once

#include <cstdint>

#include <QColor>

// The view document measures in device-independent pixels, 96 to the inch;
// RTF in twips, 1440 to the inch.
inline constexpr double kTwipsPerPixel = 1440.0 / 96.0;

inline double Pixels(int twips) { return twips / kTwipsPerPixel; }

// A model colour (0xRRGGBB).
inline QColor ColorOf(std::int32_t rgb) { return QColor::fromRgb(static_cast<QRgb>(rgb)); }
