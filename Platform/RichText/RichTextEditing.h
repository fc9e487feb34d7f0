#pragma once

#include <optional>

#include <QColor>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFormat>

// What the text view does to a loaded document, by character position (the
// positions of the plain text, a line break counting one).

// The property of QTextCharFormat that holds a character's link number: the
// index of its link in the view's list of links.
inline constexpr int kLinkNumberProperty = QTextFormat::UserProperty + 1;

// A cursor selecting `length` characters from `start`, both clamped to the
// document: SelectRange(doc, 5, 3) selects positions 5, 6 and 7.
QTextCursor SelectRange(QTextDocument& document, int start, int length);

// How to mark a range; unset parts leave the characters as they are.
struct TRichTextMark {
  std::optional<QColor> foreground;
  std::optional<QColor> background;
  std::optional<bool> bold;
  std::optional<bool> underline;
  std::optional<bool> strikeOut;
};

// Merges the mark into the characters of the range (search hits, links).
void MarkRange(QTextDocument& document, int start, int length, const TRichTextMark& mark);

// Gives the characters of the range the link number `link`.
void SetLinkNumber(QTextDocument& document, int start, int length, int link);

// The link number of the character at `position`, or -1 when it has none.
int LinkNumberAt(const QTextDocument& document, int position);
