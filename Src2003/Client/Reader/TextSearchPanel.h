#pragma once

#include <QFrame>

#include "TextFind.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QTextEdit;
class QAction;

// The find panel above the text view: "Localizar:", the search field, whole
// word and case options, the direction, buttons for find next and hide, and
// a line telling where the last find landed. It takes the width it is given:
// the panes beside it keep theirs when it appears.
class TTextSearchPanel : public QFrame {
  Q_OBJECT

 public:
  TTextSearchPanel(QAction& findNextAction, QAction& hideAction, QWidget* parent = nullptr);

  TFindOptions Options() const;
  QLineEdit& SearchEdit() const { return *searchEdit_; }
  // Shows where a find landed ("2 de 5", with the wrap notice); empty when it found nothing.
  void ShowOutcome(const TFindOutcome& outcome);
  QString StatusText() const;

 private:
  QLineEdit* searchEdit_;
  QCheckBox* wholeWordChk_;
  QCheckBox* matchCaseChk_;
  QRadioButton* upRadio_;
  QRadioButton* downRadio_;
  QLabel* status_;
};
