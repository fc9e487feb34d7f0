#include "MessageBoxPrompts.h"

#include <QApplication>
#include <QMessageBox>

#include "QtText.h"

namespace {

QMessageBox::StandardButton Ask(QMessageBox::Icon icon, const std::string& message,
                                QMessageBox::StandardButtons buttons, QMessageBox::StandardButton fallback) {
  QMessageBox box(icon, QString::fromUtf8(kProgramCaption), Utf8ToQString(message), buttons,
                  QApplication::activeWindow());
  box.setDefaultButton(fallback);
  return static_cast<QMessageBox::StandardButton>(box.exec());
}

}  // namespace

void TMessageBoxPrompts::Inform(const std::string& message) {
  Ask(QMessageBox::Information, message, QMessageBox::Ok, QMessageBox::Ok);
}

bool TMessageBoxPrompts::AskYesNo(const std::string& message) {
  return Ask(QMessageBox::Question, message, QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes) ==
         QMessageBox::Yes;
}

bool TMessageBoxPrompts::AskOkCancel(const std::string& message) {
  return Ask(QMessageBox::Question, message, QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Ok) ==
         QMessageBox::Ok;
}
