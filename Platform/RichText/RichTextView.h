#pragma once

#include <memory>
#include <string_view>

#include <QTextDocument>

#include "RichTextModel.h"

// The view document for a rich-text document: fonts, character and paragraph
// formats, tables and pictures (PNG and JPEG drawn; other kinds, and data
// that does not decode, as a grey placeholder of the picture's size). Text of
// a HYPERLINK field carries its target as the anchor of its characters.
//
// Invariant: position p of the returned document holds the character at
// index p of RichTextPlainText(document) when each CR LF counts as one.
std::unique_ptr<QTextDocument> BuildTextDocument(const TRichTextDocument& document);

// ReadRichText and BuildTextDocument in one call.
std::unique_ptr<QTextDocument> BuildTextDocumentFromBody(std::string_view body);
