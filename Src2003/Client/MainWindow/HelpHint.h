#pragma once

#include <QObject>

class QLabel;
class QTimer;

// The hint beside the help button: its text slides left towards the button,
// five blanks every kSlideInterval, waits kFinalWait once the blanks are gone,
// then the label goes away.
class THelpHint : public QObject {
  Q_OBJECT

 public:
  static constexpr int kSlideInterval = 200;  // ms
  static constexpr int kFinalWait = 3000;     // ms
  static constexpr int kBlanksPerStep = 5;
  static constexpr int kLeadingBlanks = 99;

  explicit THelpHint(QLabel& label);

  // One timer tick; public so that the slide can be checked step by step.
  void Tick();
  bool Running() const;

  static QString InitialText();

 private:
  QLabel* label_;
  QTimer* timer_;
};
