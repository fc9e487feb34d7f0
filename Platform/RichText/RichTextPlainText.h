#pragma once

#include <string>
#include <string_view>

#include "RichTextModel.h"

// The plain text of a document as the word index reads it: single-byte
// Windows-1252, one byte for every character position of the view, except
// that a line break is CR LF and counts as one position (as the rich-edit
// control counts it).
//
//   paragraph break, \line, start of a table row, end of a table   CR LF
//   start of any other table cell, \tab                             TAB
//   picture                                                         blank
//   character outside Windows-1252 (each half of a surrogate pair)  "?"
//
// So the paragraphs "Art. 1º", a table [ICMS | 17%] and "Fim" give
//   "Art. 1º\r\nICMS\t17%\r\nFim"   (º as the byte 0xBA)
std::string RichTextPlainText(const TRichTextDocument& document);

// ReadRichText and RichTextPlainText in one call: an RTF or plain body to
// the text the word index takes.
std::string RtfToPlainText(std::string_view body);
