#pragma once

// The result of an HTTP request as one 16-bit number, the way the
// request-done event carries it and the log shows it
// ("# Erro no download! Código do erro: 001.404").
//
//   0            success: a 2xx answer, and for a GET its whole body
//   100 .. 599   the server or the proxy answered with this HTTP status and
//                it is not a success: 404 the file is not there, 401 or 407
//                the proxy refused the user name or password, 500 the
//                server failed, a 3xx that could not be followed
//   1001 ..      a failure below HTTP, one of THttpError below
//
// Status numbers and THttpError never overlap, so a code alone says what
// happened.

#include <cstdint>
#include <string>

enum THttpError : std::uint16_t {
  httpSuccess = 0,
  httpAborted = 1001,                    // Abort() ended the request (the user cancelled)
  httpConnectionRefused = 1002,          // nothing listens at the server's address and port
  httpHostNotFound = 1003,               // the server's name does not resolve
  httpTimeout = 1004,                    // nothing arrived for the transfer timeout
  httpConnectionClosed = 1005,           // the server closed the connection before answering
  httpBodyTruncated = 1006,              // the body ended before its Content-Length
  httpSecureConnectionFailed = 1007,     // TLS handshake failed or certificate not trusted
  httpRedirectRefused = 1008,            // too many redirects, or one to a less safe address
  httpBodyTooLarge = 1009,               // the body is longer than MaxBodyBytes()
  httpProxyConnectionRefused = 1010,     // nothing listens at the proxy's address and port
  httpProxyNotFound = 1011,              // the proxy's name does not resolve
  httpProxyAuthenticationFailed = 1012,  // the proxy refused the credentials (no status known)
  httpProxyTimeout = 1013,               // the proxy did not answer in time
  httpProxyConnectionClosed = 1014,      // the proxy closed the connection
  httpProxyFailed = 1015,                // any other failure of the proxy
  httpInvalidUrl = 1020,                 // not an http:// or https:// address with a host
  httpInvalidProxy = 1021,               // the proxy port is not a number from 1 to 65535
  httpProtocolError = 1022,              // the answer broke the protocol
  httpReceiveStreamFailed = 1030,        // the body could not be written where it goes
  httpNetworkFailed = 1099,              // any other failure of the network
};

// The statuses by which a proxy refuses the user name or password.
inline constexpr int httpStatusUnauthorized = 401;
inline constexpr int httpStatusProxyAuthenticationRequired = 407;

// The lowest and highest HTTP status a server can send.
inline constexpr int kHttpFirstStatus = 100;
inline constexpr int kHttpLastStatus = 599;

inline bool IsHttpStatusError(int code) { return code >= kHttpFirstStatus && code <= kHttpLastStatus; }

// What a code means, in the words the user reads:
//   HttpErrorText(404)              "O servidor respondeu com o código HTTP 404."
//   HttpErrorText(407)              "O proxy recusou o usuário ou a senha."
//   HttpErrorText(httpTimeout)      "Tempo de espera esgotado."
//   HttpErrorText(0)                "Sem erro."
// Unknown codes give "Erro desconhecido (código N)."
std::string HttpErrorText(int code);
