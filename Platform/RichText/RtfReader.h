#pragma once

#include <string_view>

#include "RichTextModel.h"

// Reads RTF as Word, WordPad, the Windows rich-edit control and LibreOffice
// write it into the document model. Never throws on bad input: whatever
// the input is, the result is the best text it yields, read in one pass in
// time and memory linear in its size.
//
// What is shown: the body text, list numbers written as \pntext or
// \listtext (readers that ignore list definitions show them, and we have no
// numbering of our own), field results (a HYPERLINK field keeps its target),
// pictures and tables (nested tables flattened into their outer cell).
// What is not: font, colour, style and list tables, document information,
// headers, footers, footnotes, annotations, hidden text (\v), bookmarks,
// alternate pictures (\nonshppict), and any \* destination not listed here.
//
// Text after the outermost group closes is ignored. Missing closing braces
// are forgiven. Groups nested more than kMaxRtfGroupDepth deep are skipped
// with their contents, and the document's `damage` says so; a plain body
// holding zero bytes (not Windows-1252) is read but marked the same way.
TRichTextDocument ReadRtf(std::string_view rtf);

// True when the body starts (after blanks) with "{\rtf".
bool LooksLikeRtf(std::string_view body);

// ReadRtf for RTF bodies; any other body is plain Windows-1252 text whose
// lines become paragraphs, as the rich-edit control loads text files.
TRichTextDocument ReadRichText(std::string_view body);

inline constexpr int kMaxRtfGroupDepth = 500;
