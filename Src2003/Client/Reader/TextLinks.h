#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include <QString>

#include "TOMOHyperlink.h"

class QTextDocument;

// Where each line of the shown text begins, as a character position with a
// line break counting one, from the plain text that the index and the hit
// ranges use (RichTextPlainText): entry 0 is 0, then the position after every
// line break. A table row is one line, its cells separated by tabs.
//   "ab\r\ncd\r\ne" gives {0, 3, 6};  "\r\nx" gives {0, 1}
std::vector<int> BuildLineStarts(std::string_view plainText);

// Applies the body's links to the text and returns the records in the order
// applied; each link's characters get their index in that list as link
// number, blue underlined text, and strike-through when `targetExists` says
// the entry is missing (never for addresses, whose Target 0 is the root).
//
// A version-1 link is placed at its line's start plus its column and cut so
// that it does not run past its line (the last line keeps its full length);
// a Line past the last line raises ELxException.
std::vector<TTOMOHyperlinkRecord> ApplyLinks(QTextDocument& document, const std::vector<int>& lineStarts,
                                             const std::vector<TBodyLink>& links,
                                             const std::function<bool(int)>& targetExists);

// The text shown in place of a document that could not be read.
QString DocumentErrorText(int documentNumber, const std::string& className, const std::string& message);
