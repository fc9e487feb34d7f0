#include "PandectaApplication.h"

#include "ErrorDisplay.h"

TPandectaApplication::TPandectaApplication(int& argc, char** argv) : QApplication(argc, argv) {
  setApplicationName("Pandecta");
  setOrganizationName("Orvalho");
}

bool TPandectaApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (...) {
    ShowCurrentError();
    return false;
  }
}
