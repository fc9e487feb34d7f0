#pragma once

#include <QTextDocument>
#include <QTextTableCellFormat>
#include <QTextTableFormat>

#include "RichTextModel.h"

// How a table of the model looks in the view: columns as wide as its row
// definition's cell edges say, single collapsed borders where the cells
// declare them, the cells' inner margins, background and vertical alignment.

// The table's format; its columns have their natural width (the RTF's), which
// FitTablesToWidth narrows where the page is narrower.
QTextTableFormat TableFormatOf(const TRichTable& table);

QTextTableCellFormat CellFormatOf(const TRichRowFormat& row, const TRichCellFormat& cell);

// Gives every table of the document the natural widths of its columns, or,
// where the document's text width is narrower than the table, those widths
// scaled down alike so that the table fits. Tables without known widths are
// left to the view. Changes nothing when every table already fits as it is,
// so it can run before each paint.
void FitTablesToWidth(QTextDocument& document);

// A table's format with its columns, natural widths and left edge scaled by
// `ratio` (the view's zoom); borders keep their width.
QTextTableFormat ScaledTableFormat(QTextTableFormat format, qreal ratio);
