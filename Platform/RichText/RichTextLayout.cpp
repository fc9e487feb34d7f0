#include "RichTextLayout.h"

#include <variant>

namespace {

void WalkTable(const TRichTable& table, TRichTextVisitor& visitor) {
  visitor.TableStart(table);
  for (size_t row = 0; row < table.rows.size(); ++row) {
    const std::vector<TRichTableCell>& cells = table.rows[row].cells;
    for (size_t column = 0; column < cells.size(); ++column) {
      visitor.CellStart(static_cast<int>(row), static_cast<int>(column));
      bool first = true;
      for (const TRichParagraph& paragraph : cells[column].paragraphs) {
        if (!first) visitor.ParagraphBreak(paragraph);
        visitor.Paragraph(paragraph);
        first = false;
      }
    }
  }
  visitor.TableEnd();
}

}  // namespace

void WalkRichText(const TRichTextDocument& document, TRichTextVisitor& visitor) {
  bool afterParagraph = false;
  for (const TRichBlock& block : document.blocks) {
    if (const auto* paragraph = std::get_if<TRichParagraph>(&block)) {
      if (afterParagraph) visitor.ParagraphBreak(*paragraph);
      visitor.Paragraph(*paragraph);
      afterParagraph = true;
    } else {
      WalkTable(std::get<TRichTable>(block), visitor);
      afterParagraph = false;
    }
  }
}
