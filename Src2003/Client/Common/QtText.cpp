#include "QtText.h"

#include "LxCodePage.h"

QString Win1252ToQString(std::string_view text) {
  QString result;
  result.reserve(static_cast<qsizetype>(text.size()));
  for (char byte : text) {
    // Every Windows-1252 code maps to a character of the Basic Multilingual
    // Plane, so one QChar per byte keeps positions aligned.
    result.append(QChar(static_cast<char16_t>(Win1252ToUnicode(static_cast<unsigned char>(byte)))));
  }
  return result;
}

std::string QStringToWin1252(const QString& text) {
  constexpr char kReplacement = '?';
  std::string result;
  result.reserve(static_cast<size_t>(text.size()));
  for (QChar character : text) {
    const int code = UnicodeToWin1252(character.unicode());
    result.push_back(code < 0 ? kReplacement : static_cast<char>(code));
  }
  return result;
}
