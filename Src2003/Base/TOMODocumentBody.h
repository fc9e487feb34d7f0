#pragma once

#include <string>
#include <vector>

#include "LxDateTime.h"
#include "LxStrm.h"
#include "TOMOHyperlink.h"

// The plain body of a document, as OpenRead delivers it and OpenWrite takes it:
//
//   Data: 01/02/2003          property lines up to an empty line
//   Tamanho: 5234             content length in bytes
//
//   {\rtf1 ...}               the content: RTF (kind T) or a BMP file (kind B)
//   Hyperlinks                optional, rich text only
//                             lines up to an empty line are skipped
//   v2,0,120,9,5531           one link per line, up to an empty line or the end
struct TTOMODocumentBody {
  TLxNameValueList Values;
  std::string Content;
  std::vector<TTOMOHyperlinkRecord> Hyperlinks;
};

// Names in the body's property block.
inline constexpr const char* kBodyDateValue = "Data";
inline constexpr const char* kBodySizeValue = "Tamanho";
inline constexpr const char* kHyperlinkSectionLine = "Hyperlinks";

// Reads a body. An empty property block makes the rest of the body the
// content. Raises ELxException "Tamanho de documento inválido: '%s'" when
// Tamanho is not a number, and ELxReadError when the content is shorter than
// Tamanho says; a stated size never reserves memory before the bytes arrive.
TTOMODocumentBody ReadDocumentBody(TLxStream& body);

// Writes a body with Data, Tamanho, the content and, when there are links,
// the hyperlink section (v2 lines).
void WriteDocumentBody(TLxStream& body, TDateTime date, std::string_view content,
                       const std::vector<TTOMOHyperlinkRecord>& hyperlinks);
