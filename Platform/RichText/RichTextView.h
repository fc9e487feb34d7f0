#pragma once

#include <memory>
#include <string_view>

#include <QTextDocument>

#include "RichTextModel.h"

// The view document for a rich-text document: fonts, character and paragraph
// formats with their indents and tab stops, tables with the RTF's column
// widths, borders and cell alignment (RichTextTables), and pictures (PNG,
// JPEG and bitmaps drawn; metafiles, other kinds and data that does not
// decode blank at their declared size, or taking no room without one). Text
// of a HYPERLINK field carries its target as the anchor of its characters.
//
// Invariant: position p of the returned document holds the character at
// index p of RichTextPlainText(document) when each CR LF counts as one.
std::unique_ptr<QTextDocument> BuildTextDocument(const TRichTextDocument& document);

// ReadRichText and BuildTextDocument in one call.
std::unique_ptr<QTextDocument> BuildTextDocumentFromBody(std::string_view body);
