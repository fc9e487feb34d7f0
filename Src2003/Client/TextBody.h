#pragma once

#include <string>
#include <vector>

#include "LxStrm.h"
#include "TOMOHyperlink.h"

// A link as the body states it. Version 1 places it by line and column,
// version 2 by position in the whole text.
struct TBodyLink {
  bool Version1 = false;
  TTOMOHyperlinkRecord Record;
};

// The parts of a rich-text document's body that the text view shows.
struct TTextBody {
  TLxNameValueList Values;  // empty when the body has no property block
  std::string Content;      // RTF, or plain Windows-1252 text
  std::vector<TBodyLink> Links;
};

// Reads a plain body: property block, Tamanho bytes of content, and the
// hyperlink section. Without a property block the rest of the body is the
// content and there are no links. A link line whose number fields are not
// numbers raises ELxException "'x' não é um valor inteiro válido"; lines with
// an unknown version tag are skipped.
TTextBody ReadTextBody(TLxStream& body);
