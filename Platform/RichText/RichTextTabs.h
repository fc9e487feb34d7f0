#pragma once

#include <QList>
#include <QTextOption>

#include "RichTextModel.h"

// The tab stops of a paragraph as the view lays them out.
//
// RTF measures tab stops from the left edge of the paragraph's column (the
// text margin, or a cell's text area); the view measures them from where the
// line starts, which for the first line is the left indent plus the
// first-line indent. The stops are given for the first line, the one that
// holds a list's number and almost every tab. They are: the paragraph's own
// stops; with a hanging indent, a stop at the left indent (word processors
// stop a tab there, so the text after a number lines up with the wrapped
// lines); and after the last of these the document's default stops, every
// `defaultTabTwips` from the column's edge.
//
//   \fi-360\li720 with the default 720: stops at 360, 1080, 1800... twips
//   after the line's start, i.e. 720, 1440, 2160... from the column's edge.
QList<QTextOption::Tab> TabStopsOf(const TRichParagraphFormat& format, int defaultTabTwips);
