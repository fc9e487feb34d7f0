#pragma once

#include <QApplication>

// The program's application object. An exception that escapes an event
// handler is shown in the standard error box instead of ending the program,
// so the window stays usable after a failed command. Qt's own dialogs speak
// Brazilian Portuguese when the system has Qt's translations.
class TPandectaApplication : public QApplication {
 public:
  TPandectaApplication(int& argc, char** argv);

  bool notify(QObject* receiver, QEvent* event) override;

 private:
  // Installs Qt's Brazilian Portuguese translations; false when they are not installed.
  bool LoadQtTranslations();
};
