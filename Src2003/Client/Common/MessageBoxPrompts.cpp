#include "MessageBoxPrompts.h"

#include <utility>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>

#include "QtText.h"

namespace {

QMessageBox::StandardButton Ask(QMessageBox::Icon icon, const std::string& message,
                                QMessageBox::StandardButtons buttons, QMessageBox::StandardButton fallback,
                                const std::string& title = kProgramCaption) {
  QMessageBox box(icon, Utf8ToQString(title), Utf8ToQString(message), buttons,
                  QApplication::activeWindow());
  box.setDefaultButton(fallback);
  // The user reads Portuguese whatever translations the system has.
  const std::pair<QMessageBox::StandardButton, const char*> kCaptions[] = {
      {QMessageBox::Yes, "&Sim"}, {QMessageBox::No, "&Não"}, {QMessageBox::Ok, "OK"}, {QMessageBox::Cancel, "Cancelar"}};
  for (const auto& [button, caption] : kCaptions) {
    if (QAbstractButton* shown = box.button(button)) shown->setText(QString::fromUtf8(caption));
  }
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

bool TMessageBoxPrompts::AskYesNoTitled(const std::string& title, const std::string& message) {
  return Ask(QMessageBox::Question, message, QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes, title) ==
         QMessageBox::Yes;
}

bool TMessageBoxPrompts::AskOkCancel(const std::string& message) {
  return Ask(QMessageBox::Question, message, QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Ok) ==
         QMessageBox::Ok;
}
