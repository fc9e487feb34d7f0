#pragma once

#include <exception>
#include <string>

#include <QUrl>

// Everything the program can tell about a failure at the moment it is
// reported: what went wrong, where the program was, what was loaded and on
// what machine. The same text goes to the details of the error box, the
// "_Err.log" file and the mail to the publisher's support.
struct TErrorReport {
  std::string ClassName;   // "ETOMOFileError", or the C++ type of a foreign exception
  std::string Message;     // what the user reads
  std::string Time;        // dd/mm/yyyy hh:nn:ss
  std::string CallStack;   // one frame a line, innermost first
  std::string Modules;     // one loaded file a line
  std::string SystemInfo;  // program, system, host, Qt

  // The whole report as text, sections headed by their titles.
  std::string Text() const;
};

// Report of an exception caught in a handler. The call stack is the one
// taken where the program's own errors were raised; for others, the
// handler's.
TErrorReport MakeErrorReport(const std::exception& error);
// Report of whatever std::current_exception() holds; call it inside catch.
TErrorReport MakeCurrentErrorReport();

// The log file's name, beside the program and ending in "_Err.log".
inline constexpr char kErrorLogFileName[] = "Pandecta_Err.log";
// The support mailbox and the subject of mailed reports.
inline constexpr char kSupportMailAddress[] = "suporte@pandecta.example";
inline constexpr char kErrorMailSubject[] = "[TOMO] Relatório de Erro";

// Where reports are appended: the program folder when it is writable, else
// the user's application data folder. A folder set here wins (tests).
std::string ErrorLogPath();
void SetErrorLogFolder(const std::string& folder);
// Appends the report to the log; failures are ignored, since the log must
// never hide the error it records. Returns true when it was written.
bool AppendToErrorLog(const TErrorReport& report);

// A mailto: address that hands the report to the system's mail client.
QUrl ErrorMailUrl(const TErrorReport& report);
