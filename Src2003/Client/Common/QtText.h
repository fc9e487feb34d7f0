#pragma once

#include <string>
#include <string_view>

#include <QString>

// The window boundary for text. The document base keeps its texts as
// Windows-1252 bytes; widgets want QString. Every base text that reaches the
// screen passes through Win1252ToQString, and every text typed by the user
// that goes back into the base through QStringToWin1252:
//   Win1252ToQString("A\xE7\xE3o")  gives "Ação"
//   QStringToWin1252("Ação")        gives "A\xE7\xE3o"
QString Win1252ToQString(std::string_view text);
// Characters outside the code page become '?'.
std::string QStringToWin1252(const QString& text);

// Messages and paths are UTF-8 in the program's own code.
inline QString Utf8ToQString(const std::string& text) { return QString::fromStdString(text); }
