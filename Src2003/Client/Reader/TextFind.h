#pragma once

#include <QString>

class QTextEdit;

// What the find panel asks for.
struct TFindOptions {
  QString Text;
  bool WholeWord = false;
  bool MatchCase = false;
  bool Backwards = false;
};

// What a find did: whether it found the text, whether it had to wrap around
// the document's end (or start, backwards) to find it, and which of how many
// matches of the whole text it selected (1-based).
struct TFindOutcome {
  bool Found = false;
  bool Wrapped = false;
  int Index = 0;
  int Count = 0;
};

// Finds the next occurrence in the edit and selects it. The search starts at
// the selection; when the selection already holds the searched text (letter
// case ignored) a forward search starts one character later and a backward
// search takes only matches that end before it, so repeating moves on. Past
// the last match it goes on from the start (backwards: from the end). When
// the text holds no match the selection stays.
TFindOutcome FindInText(QTextEdit& edit, const TFindOptions& options);

// The find panel's line about an outcome: the wrap notice and the match count.
QString FindOutcomeText(const TFindOutcome& outcome, bool backwards);

inline constexpr char kFindWrappedForward[] = "Fim do documento; continuando do início";
inline constexpr char kFindWrappedBackward[] = "Início do documento; continuando do fim";
