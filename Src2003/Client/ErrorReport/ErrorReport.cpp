#include "ErrorReport.h"

#include <cxxabi.h>
#include <execinfo.h>

#include <array>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <set>
#include <sstream>
#include <typeinfo>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QSysInfo>

#include "LxDateTime.h"
#include "ForeignErrors.h"
#include "LxExcept.h"

namespace {

constexpr int kMaxStackFrames = 64;
constexpr char kMapsFile[] = "/proc/self/maps";
constexpr char kSectionRule[] = "-----------------------";

std::string logFolderOverride;

std::string Demangle(const char* name) {
  int status = 0;
  std::unique_ptr<char, decltype(&std::free)> readable(abi::__cxa_demangle(name, nullptr, nullptr, &status),
                                                       &std::free);
  return status == 0 && readable ? readable.get() : name;
}

std::string FramesText(void* const* frames, int count) {
  std::unique_ptr<char*, decltype(&std::free)> symbols(backtrace_symbols(frames, count), &std::free);
  std::string text;
  for (int i = 0; i < count; ++i) {
    text += symbols ? symbols.get()[i] : "?";
    text += '\n';
  }
  return text;
}

// The stack where the report is made: for errors that carry no stack of
// their own.
std::string CallStackText() {
  std::array<void*, kMaxStackFrames> frames{};
  return FramesText(frames.data(), backtrace(frames.data(), kMaxStackFrames));
}

// The files mapped into the process, each once, in address order.
std::string LoadedModulesText() {
  std::ifstream maps(kMapsFile);
  std::set<std::string> seen;
  std::string text, line;
  while (std::getline(maps, line)) {
    const size_t slash = line.find('/');
    if (slash == std::string::npos) continue;
    const std::string path = line.substr(slash);
    if (seen.insert(path).second) text += path + '\n';
  }
  return text;
}

std::string SystemInfoText() {
  std::ostringstream text;
  text << "Programa: " << QCoreApplication::applicationFilePath().toStdString() << '\n'
       << "Sistema: " << QSysInfo::prettyProductName().toStdString() << " ("
       << QSysInfo::kernelType().toStdString() << ' ' << QSysInfo::kernelVersion().toStdString() << ", "
       << QSysInfo::currentCpuArchitecture().toStdString() << ")\n"
       << "Computador: " << QSysInfo::machineHostName().toStdString() << '\n'
       << "Qt: " << qVersion() << '\n';
  return text.str();
}

TErrorReport MakeReport(std::string className, std::string message) {
  TErrorReport report;
  report.ClassName = std::move(className);
  report.Message = std::move(message);
  report.Time = DateTimeToStr(Now());
  report.CallStack = CallStackText();
  report.Modules = LoadedModulesText();
  report.SystemInfo = SystemInfoText();
  return report;
}

bool CanAppendIn(const QString& folder) {
  QFile probe(QDir(folder).filePath(QString::fromUtf8(kErrorLogFileName)));
  const bool existed = probe.exists();
  if (!probe.open(QIODevice::Append)) return false;
  probe.close();
  if (!existed) probe.remove();
  return true;
}

}  // namespace

std::string TErrorReport::Text() const {
  std::ostringstream text;
  text << kSectionRule << '\n'
       << "Data: " << Time << '\n'
       << "Exceção: " << ClassName << '\n'
       << "Mensagem: " << Message << "\n\n"
       << "Pilha de chamadas:\n" << CallStack << '\n'
       << "Módulos carregados:\n" << Modules << '\n'
       << "Informações do sistema:\n" << SystemInfo;
  return text.str();
}

TErrorReport MakeErrorReport(const std::exception& error) {
  const auto* own = dynamic_cast<const ELxException*>(&error);
  if (!own) {
    // The user reads the program's words; support reads what the library said.
    const TForeignError foreign = DescribeForeignError(error);
    TErrorReport report = MakeReport(foreign.ClassName, foreign.Message);
    report.CallStack = "Erro original: " + Demangle(typeid(error).name()) + ": " + error.what() + '\n' + report.CallStack;
    return report;
  }
  TErrorReport report = MakeReport(own->ClassName(), own->Message());
  // Where the error was raised, not where it is being shown.
  if (!own->RaisedAt().empty()) {
    report.CallStack = FramesText(own->RaisedAt().data(), static_cast<int>(own->RaisedAt().size()));
  }
  return report;
}

TErrorReport MakeCurrentErrorReport() {
  try {
    if (std::current_exception()) std::rethrow_exception(std::current_exception());
  } catch (const std::exception& error) {
    return MakeErrorReport(error);
  } catch (...) {
  }
  return MakeReport("Exceção desconhecida", "Ocorreu um erro desconhecido.");
}

void SetErrorLogFolder(const std::string& folder) { logFolderOverride = folder; }

std::string ErrorLogPath() {
  QString folder = QString::fromStdString(logFolderOverride);
  if (folder.isEmpty()) {
    folder = QCoreApplication::applicationDirPath();
    if (!CanAppendIn(folder)) {
      folder = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
      QDir().mkpath(folder);
    }
  }
  return QDir(folder).filePath(QString::fromUtf8(kErrorLogFileName)).toStdString();
}

bool AppendToErrorLog(const TErrorReport& report) {
  std::ofstream log(ErrorLogPath(), std::ios::app | std::ios::binary);
  if (!log) return false;
  log << report.Text() << '\n';
  return static_cast<bool>(log);
}

QUrl ErrorMailUrl(const TErrorReport& report) {
  // Mail clients take addresses of limited length; the log keeps the rest.
  constexpr qsizetype kMaxMailBodyChars = 12000;
  const QString body = QString::fromStdString(report.Text()).left(kMaxMailBodyChars);
  // Encode every reserved character: the report holds '&', '=' and '+'.
  const QByteArray query = "subject=" + QUrl::toPercentEncoding(QString::fromUtf8(kErrorMailSubject)) +
                           "&body=" + QUrl::toPercentEncoding(body);
  QUrl url;
  url.setScheme("mailto");
  url.setPath(QString::fromUtf8(kSupportMailAddress));
  url.setQuery(QString::fromLatin1(query), QUrl::StrictMode);
  return url;
}
