#include "PandectaApplication.h"

#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "ErrorDisplay.h"

namespace {

// The language of the whole interface, Qt's own dialogs (printing, files,
// message box buttons) included.
const QLocale kInterfaceLocale(QLocale::Portuguese, QLocale::Brazil);
constexpr char kQtTranslations[] = "qtbase";

}  // namespace

TPandectaApplication::TPandectaApplication(int& argc, char** argv) : QApplication(argc, argv) {
  setApplicationName("Pandecta");
  setOrganizationName("Orvalho");
  // Dates, numbers, calendars and Qt's dialogs follow the program's language,
  // not the system's.
  QLocale::setDefault(kInterfaceLocale);
  LoadQtTranslations();
}

bool TPandectaApplication::LoadQtTranslations() {
  auto* translator = new QTranslator(this);
  const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
  if (!translator->load(kInterfaceLocale, QString::fromLatin1(kQtTranslations), QStringLiteral("_"), folder)) {
    delete translator;  // without the translations Qt's dialogs stay in English
    return false;
  }
  return installTranslator(translator);
}

bool TPandectaApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (...) {
    ShowCurrentError();
    return false;
  }
}
