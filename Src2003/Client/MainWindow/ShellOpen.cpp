#include "ShellOpen.h"

#include <QDesktopServices>
#include <QUrl>

#ifdef Q_OS_WIN
#include <windows.h>
#include <shellapi.h>
#endif

bool OpenMaximized(const QUrl& address) {
#ifdef Q_OS_WIN
  const QString target = address.isLocalFile() ? address.toLocalFile() : address.toString();
  const auto result = reinterpret_cast<INT_PTR>(ShellExecuteW(nullptr, L"open", reinterpret_cast<LPCWSTR>(target.utf16()),
                                                              nullptr, nullptr, SW_SHOWMAXIMIZED));
  // ShellExecute reports success with values above 32.
  constexpr INT_PTR kLastShellError = 32;
  if (result > kLastShellError) return true;
#endif
  return QDesktopServices::openUrl(address);
}
