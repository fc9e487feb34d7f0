#include "RichTextEditing.h"

#include <algorithm>

#include <QTextBlock>
#include <QTextCharFormat>

namespace {

// The last position a cursor can take: the document's final block separator
// is not a character of the text.
int EndPosition(const QTextDocument& document) { return std::max(0, document.characterCount() - 1); }

}  // namespace

QTextCursor SelectRange(QTextDocument& document, int start, int length) {
  const int end = EndPosition(document);
  const int first = std::clamp(start, 0, end);
  const int last = std::clamp(start + std::max(length, 0), first, end);
  QTextCursor cursor(&document);
  cursor.setPosition(first);
  cursor.setPosition(last, QTextCursor::KeepAnchor);
  return cursor;
}

void MarkRange(QTextDocument& document, int start, int length, const TRichTextMark& mark) {
  QTextCharFormat format;
  if (mark.foreground) format.setForeground(*mark.foreground);
  if (mark.background) format.setBackground(*mark.background);
  if (mark.bold) format.setFontWeight(*mark.bold ? QFont::Bold : QFont::Normal);
  if (mark.underline) format.setFontUnderline(*mark.underline);
  if (mark.strikeOut) format.setFontStrikeOut(*mark.strikeOut);
  SelectRange(document, start, length).mergeCharFormat(format);
}

void SetLinkNumber(QTextDocument& document, int start, int length, int link) {
  QTextCharFormat format;
  format.setProperty(kLinkNumberProperty, link);
  SelectRange(document, start, length).mergeCharFormat(format);
}

int LinkNumberAt(const QTextDocument& document, int position) {
  const QTextBlock block = document.findBlock(position);
  for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it) {
    const QTextFragment fragment = it.fragment();
    if (!fragment.contains(position)) continue;
    const QVariant link = fragment.charFormat().property(kLinkNumberProperty);
    return link.isValid() ? link.toInt() : -1;
  }
  return -1;
}
