#pragma once

#include <QFrame>

class QCheckBox;
class QLineEdit;
class QRadioButton;
class QTextEdit;
class QAction;

// What the find panel asks for.
struct TFindOptions {
  QString Text;
  bool WholeWord = false;
  bool MatchCase = false;
  bool Backwards = false;
};

// Finds the next occurrence in the edit and selects it. The search starts at
// the selection; when the selection already holds the searched text (letter
// case ignored) a forward search starts one character later and a backward
// search takes only matches that end before it, so repeating moves on.
// Returns false when there is none (the selection stays).
bool FindInText(QTextEdit& edit, const TFindOptions& options);

// The find panel above the text view: "Localizar:", the search field, whole
// word and case options, the direction, and buttons for find next and hide.
class TTextSearchPanel : public QFrame {
  Q_OBJECT

 public:
  TTextSearchPanel(QAction& findNextAction, QAction& hideAction, QWidget* parent = nullptr);

  TFindOptions Options() const;
  QLineEdit& SearchEdit() const { return *searchEdit_; }

 private:
  QLineEdit* searchEdit_;
  QCheckBox* wholeWordChk_;
  QCheckBox* matchCaseChk_;
  QRadioButton* upRadio_;
  QRadioButton* downRadio_;
};
