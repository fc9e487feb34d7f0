#pragma once

#include "RichTextModel.h"

// The one place that decides the order of a document's character positions,
// shared by the plain text and the view so that the two cannot disagree.
//
// The view (QTextDocument) has one position per UTF-16 unit of text plus one
// per separator: a paragraph break between two paragraphs, a mark where each
// table cell starts (the first one also separates the table from what comes
// before), and a mark where a table ends (which also separates it from what
// follows). No break is written next to a table, and none after the last
// paragraph. For  P1, P2, [A | B], P3:
//   P1 <break> P2 <cell> A <cell> B <table end> P3
class TRichTextVisitor {
 public:
  virtual ~TRichTextVisitor() = default;
  virtual void Paragraph(const TRichParagraph& paragraph) = 0;
  virtual void ParagraphBreak(const TRichParagraph& next) = 0;
  virtual void TableStart(const TRichTable& table) = 0;
  virtual void CellStart(int row, int column) = 0;
  virtual void TableEnd() = 0;
};

void WalkRichText(const TRichTextDocument& document, TRichTextVisitor& visitor);
