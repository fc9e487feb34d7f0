#include "MenuMnemonics.h"

#include <QAction>
#include <QList>
#include <QMenu>
#include <QMenuBar>
#include <QSet>
#include <QString>

namespace {

constexpr QChar kMnemonicMark = u'&';

// The index of the marked letter, -1 when the caption has none.
qsizetype MarkedLetter(const QString& caption) {
  for (qsizetype i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != kMnemonicMark) continue;
    if (caption[i + 1] != kMnemonicMark) return i + 1;
    ++i;  // "&&" is a literal '&'
  }
  return -1;
}

bool StartsWord(const QString& caption, qsizetype i) { return i == 0 || !caption[i - 1].isLetterOrNumber(); }

// The first free letter of the caption, word starts first; -1 when every letter is taken.
qsizetype FreeLetter(const QString& caption, const QSet<QChar>& taken) {
  for (bool wordStartsOnly : {true, false}) {
    for (qsizetype i = 0; i < caption.size(); ++i) {
      const QChar letter = caption[i];
      if (!letter.isLetter() || caption[i] == kMnemonicMark) continue;
      if (wordStartsOnly && !StartsWord(caption, i)) continue;
      if (!taken.contains(letter.toLower())) return i;
    }
  }
  return -1;
}

void AssignAll(const QList<QAction*>& items) {
  QSet<QChar> taken;
  for (const QAction* item : items) {
    const qsizetype marked = MarkedLetter(item->text());
    if (marked >= 0) taken.insert(item->text()[marked].toLower());
  }
  for (QAction* item : items) {
    const QString caption = item->text();
    if (item->isSeparator() || caption.isEmpty() || MarkedLetter(caption) >= 0) continue;
    const qsizetype letter = FreeLetter(caption, taken);
    if (letter < 0) continue;
    taken.insert(caption[letter].toLower());
    QString marked = caption;
    marked.insert(letter, kMnemonicMark);
    item->setText(marked);
  }
}

}  // namespace

void AssignMnemonics(QMenu& menu) { AssignAll(menu.actions()); }

void AssignMnemonics(QMenuBar& menuBar) { AssignAll(menuBar.actions()); }

QString VisibleCaption(const QString& caption) {
  QString visible;
  visible.reserve(caption.size());
  for (qsizetype i = 0; i < caption.size(); ++i) {
    if (caption[i] == kMnemonicMark && i + 1 < caption.size()) ++i;
    visible += caption[i];
  }
  return visible;
}
