#pragma once

#include <QPagedPaintDevice>
#include <QTextDocument>

// Prints a view document on the device's pages, inside a margin of
// kRichTextPrintMarginMillimetres within the device's own margins.
//
// The document is laid out on a copy at the view's 96 pixels to the inch and
// scaled to the device, so that indents, tab stops, table columns and picture
// sizes (which the view document holds in pixels) print at their true size on
// a printer of any resolution.
inline constexpr double kRichTextPrintMarginMillimetres = 20.0;

void PrintRichTextDocument(const QTextDocument& document, QPagedPaintDevice& device);
