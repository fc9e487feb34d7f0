#pragma once

#include <cstdint>
#include <string>

class TTOMODocumentSet;

// The plain text of a rich-text document as the word index takes it and the
// text view counts it: Windows-1252, paragraphs joined by CR LF, a position
// in it (CR LF counting one) being the same position in the view. Raises the
// errors of reading the document (a missing file, a bad "Tamanho").
std::string ReadDocumentText(TTOMODocumentSet& documents, std::int32_t documentNumber);
