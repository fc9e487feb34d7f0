#pragma once

// Real servers for the transfer tests, on 127.0.0.1 only, started by the test
// and stopped when their object goes away:
//   TLighttpd     Debian's lighttpd serving a scratch folder over HTTP and,
//                 when asked, HTTPS with a certificate made for the test
//   TTinyproxy    Debian's tinyproxy asking for basic authentication
//   TRawHttpServer  a server in this process that answers with bytes the
//                 test scripts: cut bodies, missing lengths, stalls, garbage
// Starting waits until the port takes connections, at most kStartTimeoutMs;
// a server dies with the test process, even one that crashed.

#include <map>
#include <memory>
#include <string>
#include <vector>

#include <QByteArray>
#include <QProcess>
#include <QTcpServer>

#include "TempFolder.h"

inline constexpr int kStartTimeoutMs = 10'000;

// A port on 127.0.0.1 that nothing listens on (it was free a moment ago).
int FreeLocalPort();

// A program in the background, killed when the object goes away.
class TServerProcess {
 public:
  TServerProcess() = default;
  ~TServerProcess();
  TServerProcess(const TServerProcess&) = delete;
  TServerProcess& operator=(const TServerProcess&) = delete;

  // Starts it and waits until every port takes connections; false (with the
  // reason in Error()) when it exits first or the time runs out.
  bool Start(const std::string& program, const std::vector<std::string>& arguments, const std::vector<int>& ports,
             const std::string& logFile);
  void Stop();
  const std::string& Error() const { return error_; }

 private:
  std::unique_ptr<QProcess> process_;
  std::string error_;
};

class TLighttpd {
 public:
  // Serves `root`; with `tls` also HTTPS on a second port with a fresh
  // self-signed certificate for 127.0.0.1 (CertificateFile()).
  // Files under root/lento/ are sent at 8 KiB a second; /antigo/X answers
  // 301 to /X, and /para-http/X answers 301 to http://127.0.0.1:<port>/X.
  TLighttpd(const std::string& root, bool tls);

  bool Start();
  const std::string& Error() const { return process_.Error(); }
  int Port() const { return port_; }
  int TlsPort() const { return tlsPort_; }
  std::string Url(const std::string& path) const;
  std::string TlsUrl(const std::string& path) const;
  const std::string& CertificateFile() const { return certificateFile_; }

 private:
  bool MakeCertificate();

  TempFolder work_;
  std::string root_;
  bool tls_;
  int port_ = 0;
  int tlsPort_ = 0;
  std::string certificateFile_;
  TServerProcess process_;
};

class TTinyproxy {
 public:
  TTinyproxy(std::string user, std::string password);
  bool Start();
  const std::string& Error() const { return process_.Error(); }
  int Port() const { return port_; }

 private:
  TempFolder work_;
  std::string user_;
  std::string password_;
  int port_ = 0;
  TServerProcess process_;
};

class TRawHttpServer : public QTcpServer {
 public:
  // What the server does for one path.
  struct TAnswer {
    QByteArray Bytes;           // sent as they are, status line and header included
    bool CloseAfter = true;     // close the connection once they are sent
    bool Stall = false;         // send nothing and keep the connection open
    bool Endless = false;       // after Bytes, send 'x' until the client goes
  };

  TRawHttpServer();
  int Port() const { return serverPort(); }
  std::string Url(const std::string& path) const;
  void Answer(const std::string& path, TAnswer answer) { answers_[path] = std::move(answer); }
  // The requests received, each up to its empty line.
  const std::vector<std::string>& Requests() const { return requests_; }

 private:
  void Accept();
  void SendForEver(class QTcpSocket* socket);

  std::map<std::string, TAnswer> answers_;
  std::vector<std::string> requests_;
};
