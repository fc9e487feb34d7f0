#pragma once

#include <QImage>
#include <QRectF>
#include <QSizeF>
#include <QString>

class QPrinter;
class QTextDocument;

// Printer measures are twips (1/1440 inch).
inline constexpr double kTwipsPerInch = 1440.0;
// A bitmap is printed 360 twips in from the left and top of the printable
// area, at 20 twips per pixel (72 pixels per inch).
inline constexpr double kBitmapMargin = 360.0;
inline constexpr double kTwipsPerBitmapPixel = 20.0;
// The usable area ends 180 twips before the printable width and 720 twips
// above the printable bottom.
inline constexpr double kRightReserve = 180.0;
inline constexpr double kBottomReserve = 720.0;

// Where a bitmap of `imagePixels` goes on a page whose printable area is
// `printableTwips`, in twips from the printable area's top left, y downwards.
// Too wide: scaled down to the width, keeping proportions; then too tall:
// scaled down to the height.
QRectF BitmapPrintRect(QSizeF imagePixels, QSizeF printableTwips);

// Prints the text, the job named after the shown entry.
void PrintTextDocument(const QTextDocument& document, const QString& title, QPrinter& printer);
// Prints the bitmap stretched into BitmapPrintRect.
void PrintBitmap(const QImage& image, const QString& title, QPrinter& printer);
