#pragma once

#include <functional>
#include <string>
#include <vector>

#include <QString>

#include "TOMOHyperlink.h"

class QTextDocument;

// Where each line of the shown text begins, as a character position with a
// line break counting one: entry 0 is 0, then the position after every
// paragraph end and forced line break.
//   "ab\r\ncd\r\ne" gives {0, 3, 6}
std::vector<int> BuildLineStarts(const QTextDocument& document);

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
