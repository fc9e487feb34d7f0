#include "ClientStartup.h"

#include <memory>

#include <QAbstractEventDispatcher>
#include <QCoreApplication>

#include "ClientIcons.h"
#include "ClientMainUnit.h"
#include "ConfigUnit.h"
#include "DocumentBaseUnit.h"
#include "ErrorDisplay.h"
#include "FirstStart.h"
#include "LoadingGLUnit.h"
#include "MessageBoxPrompts.h"
#include "PandectaApplication.h"
#include "StartupStages.h"
#include "WordIndex.h"

namespace {

constexpr int kStartFailed = 1;

// The one argument the program takes: an update package, maybe in quotes.
QString PackageArgument(int argc, char** argv) {
  if (argc < 2) return {};
  QString argument = QString::fromLocal8Bit(argv[1]);
  if (argument.size() >= 2 && argument.startsWith(QLatin1Char('"')) && argument.endsWith(QLatin1Char('"'))) {
    argument = argument.mid(1, argument.size() - 2);
  }
  return argument;
}

void WaitForSplash(const TfrmLoading& splash) {
  while (!splash.Finished() && !QCoreApplication::closingDown()) {
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  }
}

}  // namespace

int RunClient(int argc, char** argv) {
  // Program-wide objects come first, before any window.
  Config();
  WordIndex = std::make_unique<TWordIndex>([] { return Config().GetString(ExtraFolder); });

  TPandectaApplication application(argc, argv);
  TMessageBoxPrompts prompts;
  TScopedPrompts installed(prompts);
  InstallIconTheme();
  const TFirstStartChoice firstStart = OfferFirstCollection();

  auto splash = std::make_unique<TfrmLoading>(SplashShowTime());
  splash->show();
  splash->repaint();
  QCoreApplication::processEvents();

  std::unique_ptr<TTOMODocumentFolder> documents;
  try {
    documents = std::make_unique<TTOMODocumentFolder>(Config().GetString(DataFolder));
  } catch (...) {
    splash.reset();
    ShowCurrentError();
    return kStartFailed;
  }

  int result = 0;
  {
    TfrmClientMain mainWindow;
    mainWindow.Startup().SetPackage(PackageArgument(argc, argv));
    WaitForSplash(*splash);
    splash.reset();
    mainWindow.show();
    if (firstStart == TFirstStartChoice::InternetUpdate) StartInternetUpdate(mainWindow);
    result = application.exec();
  }
  documents.reset();
  WordIndex.reset();
  return result;
}
