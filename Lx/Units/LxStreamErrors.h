#pragma once

// The errors of the stream layers. All derive from ELxException (LxExcept.h):
//   ELxReadError     "Erro de leitura do fluxo" (ReadBuffer got fewer bytes)
//   ELxWriteError    "Erro de escrita no fluxo" (WriteBuffer wrote fewer bytes)
//   ELxInOutError    a file could not be opened, created, read or written;
//                    carries the system error code and names the file
//   ELxDecompressionError / ELxCompressionError   zlib block failures

#include <string>

#include "LxExcept.h"

// Base of the stream errors (class name "EStreamError").
class ELxStreamError : public ELxException {
 public:
  explicit ELxStreamError(std::string message, std::string className = "EStreamError")
      : ELxException(std::move(message), std::move(className)) {}
};

// A stream gave fewer bytes than required (class name "EReadError").
// Default message: "Erro de leitura do fluxo".
class ELxReadError : public ELxStreamError {
 public:
  explicit ELxReadError(std::string message = "Erro de leitura do fluxo")
      : ELxStreamError(std::move(message), "EReadError") {}
};

// A stream took fewer bytes than given (class name "EWriteError").
// Default message: "Erro de escrita no fluxo".
class ELxWriteError : public ELxStreamError {
 public:
  explicit ELxWriteError(std::string message = "Erro de escrita no fluxo")
      : ELxStreamError(std::move(message), "EWriteError") {}
};

// The platform's input/output error (class name "EInOutError"): a file or a
// folder could not be opened, created, read or written. ErrorCode() is the
// system's error number (errno on POSIX). Messages name the file, e.g.
//   "Não foi possível abrir o arquivo "/dados/TOMOIdx.dat" para leitura:
//    No such file or directory (código 2)"
class ELxInOutError : public ELxException {
 public:
  ELxInOutError(std::string message, int errorCode)
      : ELxException(std::move(message), "EInOutError"), errorCode_(errorCode) {}
  int ErrorCode() const { return errorCode_; }

 private:
  int errorCode_;
};

// Corrupt or truncated compressed data (class name "EZDecompressionError"),
// e.g. "Erro de descompressão: dados corrompidos".
class ELxDecompressionError : public ELxStreamError {
 public:
  explicit ELxDecompressionError(std::string message)
      : ELxStreamError(std::move(message), "EZDecompressionError") {}
};

// The compressor failed or was asked something it cannot do (class name
// "EZCompressionError"), e.g. a seek on a writing TLxZLIBStream.
class ELxCompressionError : public ELxStreamError {
 public:
  explicit ELxCompressionError(std::string message)
      : ELxStreamError(std::move(message), "EZCompressionError") {}
};
