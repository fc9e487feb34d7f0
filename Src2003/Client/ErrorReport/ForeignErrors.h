#pragma once

#include <exception>
#include <string>

// How an error raised by the C++ library (not by the program's own ELxException
// family) reaches the user: a class name in the program's own vocabulary and
// a Portuguese message. The library's type name and English text are for
// support only and go to the report's technical part.
struct TForeignError {
  std::string ClassName;
  std::string Message;
};

TForeignError DescribeForeignError(const std::exception& error);

inline constexpr char kOutOfMemoryMessage[] = "Memória insuficiente para concluir a operação.";
inline constexpr char kInternalErrorMessage[] =
    "Erro interno do programa. Os detalhes técnicos foram registrados para o suporte.";
