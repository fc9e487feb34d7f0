#pragma once

class QTextDocument;

// Zoom of a view document: its fonts, pictures, paragraph indents and spacing,
// tab stops and tables drawn `factor` times their natural size (1.0). The
// factor a document is drawn at travels with it (copies included), so zooming
// again, or back to 1.0 before printing, scales from what it is now.
void ZoomTextDocument(QTextDocument& document, double factor);

// The factor the document is drawn at; 1.0 for a document never zoomed.
double TextDocumentZoom(const QTextDocument& document);
