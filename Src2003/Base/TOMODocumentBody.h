#pragma once

#include <string>
#include <vector>

#include "LxDateTime.h"
#include "LxStrm.h"
#include "LxText.h"
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
//
// This is the one reader and the one writer of the layout: the text view,
// the word index, the tools and the updates all go through them.
struct TTOMODocumentBody {
  TLxNameValueList Values;  // empty when the body has no property block
  std::string Content;
  std::vector<TBodyLink> Hyperlinks;
};

// Names in the body's property block.
inline constexpr const char* kBodyDateValue = "Data";
inline constexpr const char* kBodySizeValue = "Tamanho";
inline constexpr const char* kHyperlinkSectionLine = "Hyperlinks";

// Reads a body. An empty property block makes the rest of the body the
// content, with no links. Raises ELxException "Tamanho de documento inválido:
// '%s'" when Tamanho is not a number, ELxReadError when the content is shorter
// than Tamanho says, and the errors of ParseHyperlinkLine for a damaged link
// line; a stated size never reserves memory before the bytes arrive.
TTOMODocumentBody ReadDocumentBody(TLxStream& body);

// Writes a body with Data, Tamanho, the content and, when there are links,
// the hyperlink section, each link with its own version tag. `sectionNote`
// (Windows-1252, may be empty) goes on the lines that readers skip before the
// links, for a person reading the body.
void WriteDocumentBody(TLxStream& body, TDateTime date, std::string_view content,
                       const std::vector<TBodyLink>& hyperlinks, std::string_view sectionNote = {});
