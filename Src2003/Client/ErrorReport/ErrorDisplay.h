#pragma once

#include <exception>
#include <functional>

#include <QDialog>

#include "ErrorReport.h"

class QPlainTextEdit;
class QPushButton;

// The program's standard error box: the message, and on demand the full
// report (exception, call stack, modules, system). Each shown report is also
// appended to the "_Err.log" file. "Enviar relatório" hands it to the mail
// client addressed to the publisher's support.
class TfrmErrorDisplay : public QDialog {
  Q_OBJECT

 public:
  explicit TfrmErrorDisplay(TErrorReport report, QWidget* parent = nullptr);

  const TErrorReport& Report() const { return report_; }

 private:
  void DetailsButtonClick();
  void SendButtonClick();

  TErrorReport report_;
  QPlainTextEdit* detailsEdit_;
  QPushButton* detailsButton_;
};

// Shows an error through the standard error box (or the presenter that tests
// install) and logs it. Never throws.
void ShowError(const std::exception& error);
// The same for the exception being handled; call it inside catch.
void ShowCurrentError();

// What showing an error does after logging it. The default opens the modal
// TfrmErrorDisplay; tests record the reports instead.
using TErrorPresenter = std::function<void(const TErrorReport&)>;
// Installs a presenter (empty restores the box) and returns the previous one.
TErrorPresenter SetErrorPresenter(TErrorPresenter presenter);

// Wraps a command so that a failure goes to the standard error box and the
// window stays usable.
template <class TCommand>
auto Guarded(TCommand command) {
  return [command] {
    try {
      command();
    } catch (...) {
      ShowCurrentError();
    }
  };
}
