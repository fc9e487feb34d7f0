#include "TextFind.h"

#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

namespace {

QTextDocument::FindFlags FlagsOf(const TFindOptions& options) {
  QTextDocument::FindFlags flags;
  if (options.WholeWord) flags |= QTextDocument::FindWholeWords;
  if (options.MatchCase) flags |= QTextDocument::FindCaseSensitively;
  if (options.Backwards) flags |= QTextDocument::FindBackward;
  return flags;
}

// The next match from the selection onwards (or backwards), without wrapping.
QTextCursor FindFromSelection(const QTextEdit& edit, const TFindOptions& options) {
  const QTextCursor selection = edit.textCursor();
  const bool onMatch = selection.selectedText().compare(options.Text, Qt::CaseInsensitive) == 0;
  const int start = selection.selectionStart();
  if (!options.Backwards) return edit.document()->find(options.Text, start + (onMatch ? 1 : 0), FlagsOf(options));
  // Qt looks backwards for matches starting before `from`; a match must end
  // at or before the start, so it starts at most start - length.
  const int from = start - static_cast<int>(options.Text.size()) + 1;
  return from > 0 ? edit.document()->find(options.Text, from, FlagsOf(options)) : QTextCursor();
}

// The first match from the start, or backwards the last one before the end.
QTextCursor FindFromEdge(const QTextDocument& document, const TFindOptions& options) {
  const int from = options.Backwards ? document.characterCount() : 0;
  return document.find(options.Text, from, FlagsOf(options));
}

// How many matches the whole text has, and how many of them start before `position`.
std::pair<int, int> CountMatches(const QTextDocument& document, const TFindOptions& options, int position) {
  TFindOptions forward = options;
  forward.Backwards = false;
  int count = 0;
  int before = 0;
  for (QTextCursor match = document.find(options.Text, 0, FlagsOf(forward)); !match.isNull();
       match = document.find(options.Text, match.selectionStart() + 1, FlagsOf(forward))) {
    ++count;
    if (match.selectionStart() < position) ++before;
  }
  return {count, before};
}

}  // namespace

TFindOutcome FindInText(QTextEdit& edit, const TFindOptions& options) {
  if (options.Text.isEmpty()) return {};
  TFindOutcome outcome;
  QTextCursor found = FindFromSelection(edit, options);
  if (found.isNull()) {
    found = FindFromEdge(*edit.document(), options);
    outcome.Wrapped = !found.isNull();
  }
  if (found.isNull()) return {};
  edit.setTextCursor(found);
  edit.ensureCursorVisible();
  const auto [count, before] = CountMatches(*edit.document(), options, found.selectionStart());
  outcome.Found = true;
  outcome.Count = count;
  outcome.Index = before + 1;
  return outcome;
}

QString FindOutcomeText(const TFindOutcome& outcome, bool backwards) {
  if (!outcome.Found) return {};
  const QString position = QStringLiteral("%1 de %2").arg(outcome.Index).arg(outcome.Count);
  if (!outcome.Wrapped) return position;
  return QString::fromUtf8(backwards ? kFindWrappedBackward : kFindWrappedForward) + QStringLiteral(" (") +
         position + QLatin1Char(')');
}
