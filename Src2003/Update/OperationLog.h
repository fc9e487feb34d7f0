#pragma once

// The log of a long operation: coloured lines whose first characters tell
// their kind. The operation passes the colour with every line; the table
// below is the rule it follows, and what terminals use to colour a line.
//
//   Beginning      kind                               colour
//   ": "           a stage of work begins             blue   (0, 0, 255)
//   "! "           result of a stage                  green  (0, 128, 0)
//   "!! "          the whole operation succeeded      green, bold
//   "# "           error or cancellation              red    (255, 0, 0)
//   "  "           detail (URL, file, sizes)          the system's window-text colour
//   "! Ignorado"   an entry was skipped               olive  (128, 128, 0)
//
// Texts are UTF-8.

#include <cstdint>
#include <string_view>

// The colours of log lines. Window text and grey text are the system's
// colours (they follow the desktop's theme); the others are fixed.
enum class TLogColour { WindowText, GrayText, Blue, Green, Red, Olive };

// The font style of a log line: the program uses plain or bold.
enum class TLogStyle { Plain, Bold };

enum class TLogKind { Detail, Stage, Result, Success, Error, Skipped };

struct TLogRgb {
  std::uint8_t Red;
  std::uint8_t Green;
  std::uint8_t Blue;
};

// The fixed colour's red, green and blue; the system colours give black and
// grey (128, 128, 128), for whoever has no system to ask.
TLogRgb LogColourRgb(TLogColour colour);

// The kind of a line from its first characters; a line that starts with none
// of the markers (an empty line, too) is a detail.
//   LogKindOf(": Contando documentos")    Stage
//   LogKindOf("! Ignorado")               Skipped (before "! ")
//   LogKindOf("!! Concluído.")            Success (before "! ")
TLogKind LogKindOf(std::string_view text);

// The colour and style the table gives a kind.
TLogColour LogColourOf(TLogKind kind);
TLogStyle LogStyleOf(TLogKind kind);

// The lines of the operation runner itself.
inline constexpr char kCancelledLine[] = "# Operação cancelada pelo usuário!";
inline constexpr char kExceptionLineFormat[] = "# Exceção %s";
inline constexpr char kDownloadErrorLineFormat[] = "# Erro no download! Código do erro: %.3d.%.3d";
