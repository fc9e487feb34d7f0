#pragma once

// THttpCli: an asynchronous HTTP client on the thread that owns it (the GUI
// thread in the program, the main thread of a QCoreApplication in the tool
// and the tests). It needs a running event loop; every event arrives from it.
//
//   THttpCli http;
//   http.SetURL("http://servidor/atualizacao/tomoidxz.dat");
//   http.SetProxy("proxy.empresa"); http.SetProxyPort("3128");     // optional
//   connect(&http, &THttpCli::DocBegin, [&] { http.SetReceiveStream(&file); });
//   connect(&http, &THttpCli::RequestDone, [&](int kind, int error) { ... });
//   http.Get();
//
// Events of one request, in order:
//   DocBegin       a GET got a 2xx answer: its header is in, the body follows
//                  (ContentLength() is known from here on)
//   DocData        a piece of the body, already written to the receive stream
//   DocEnd         the whole body arrived (all of Content-Length, when given)
//   RequestDone    always last, exactly once per Get()/Head(), from the event
//                  loop (never from inside a call of ours): kind and error
//                  (HttpErrors.h), 0 on success
//
// Only a 2xx answer to a GET raises DocBegin, DocData and DocEnd: the body of
// an error answer (a 404 page, a proxy's refusal) never reaches the receive
// stream, and a HEAD delivers no body. A body cut short raises no DocEnd and
// ends in httpBodyTruncated.
//
// Redirects are followed when they lead to an address at least as safe as the
// one asked for (http to http or https, https to https), at most
// kMaxRedirects times; an https address sent to http ends in
// httpRedirectRefused. Bodies travel uncompressed (Accept-Encoding: identity),
// so what is written is exactly the server's file and ContentLength() counts
// exactly the bytes that DocData delivers.

#include <cstdint>
#include <string>

#include <QObject>
#include <QPointer>

#include "HttpErrors.h"
#include "LxExcept.h"

class QNetworkAccessManager;
class QNetworkReply;
class TLxStream;

// The request kinds as the request-done event numbers them.
enum THttpRequestKind : int {
  httpRequestGet = 1,
  httpRequestHead = 3,
};

// A request was started while another one runs, or a certificate file could
// not be used. Class name "EHttpError".
class EHttpError : public ELxException {
 public:
  explicit EHttpError(std::string message) : ELxException(std::move(message), "EHttpError") {}
};

class THttpCli : public QObject {
  Q_OBJECT

 public:
  // At most this many redirects are followed for one request.
  static constexpr int kMaxRedirects = 5;
  // A request that receives nothing for this long ends in httpTimeout. A
  // proxy that scans whole files sends nothing until it has the whole file
  // from the server, so the wait is generous.
  static constexpr int kDefaultTransferTimeoutMs = 5 * 60'000;
  // DocData delivers the body in pieces of at most this many bytes.
  static constexpr int kChunkSize = 8192;

  explicit THttpCli(QObject* parent = nullptr);
  ~THttpCli() override;

  // The address of the next request (http:// or https://).
  const std::string& URL() const { return url_; }
  void SetURL(std::string url) { url_ = std::move(url); }

  // The proxy: a host name or address (empty: connect directly), its port as
  // text (empty: 80), and the user name and password of basic
  // authentication (empty: none).
  const std::string& Proxy() const { return proxy_; }
  void SetProxy(std::string host) { proxy_ = std::move(host); }
  const std::string& ProxyPort() const { return proxyPort_; }
  void SetProxyPort(std::string port) { proxyPort_ = std::move(port); }
  const std::string& ProxyUsername() const { return proxyUsername_; }
  void SetProxyUsername(std::string name) { proxyUsername_ = std::move(name); }
  const std::string& ProxyPassword() const { return proxyPassword_; }
  void SetProxyPassword(std::string password) { proxyPassword_ = std::move(password); }

  // Request header fields: User-Agent, Accept, and with NoCache the fields
  // that ask caches between us and the server for a fresh copy.
  const std::string& Agent() const { return agent_; }
  void SetAgent(std::string agent) { agent_ = std::move(agent); }
  const std::string& Accept() const { return accept_; }
  void SetAccept(std::string accept) { accept_ = std::move(accept); }
  bool NoCache() const { return noCache_; }
  void SetNoCache(bool noCache) { noCache_ = noCache; }

  // Milliseconds without any byte arriving after which a request ends in
  // httpTimeout; 0 waits for ever.
  int TransferTimeout() const { return transferTimeoutMs_; }
  void SetTransferTimeout(int milliseconds) { transferTimeoutMs_ = milliseconds; }

  // The longest body a GET takes: a longer Content-Length, or more bytes
  // than this arriving, ends the request in httpBodyTooLarge before they
  // reach the receive stream. 0 takes any length.
  std::int64_t MaxBodyBytes() const { return maxBodyBytes_; }
  void SetMaxBodyBytes(std::int64_t bytes) { maxBodyBytes_ = bytes; }

  // Where the body of a GET is written as it arrives (not owned; nullptr:
  // nowhere, DocData still reports it). Usually set in DocBegin.
  TLxStream* ReceiveStream() const { return receiveStream_; }
  void SetReceiveStream(TLxStream* stream) { receiveStream_ = stream; }

  // Start a request to URL(); the events follow. Raise EHttpError while
  // another request of this client has not yet raised RequestDone. A bad
  // address or proxy port is no exception: the request ends at once with
  // httpInvalidUrl or httpInvalidProxy.
  void Get();
  void Head();
  // Ends the running request; it completes with httpAborted (RequestDone
  // still comes, later, from the event loop). Nothing happens when no
  // request runs. Safe inside any of the events.
  void Abort();

  // True from Get()/Head() until RequestDone has been raised.
  bool Busy() const { return busy_; }
  // The Content-Length of the last answer once its header has arrived; -1
  // when the server gave none or no header has arrived.
  std::int64_t ContentLength() const { return contentLength_; }
  // The HTTP status of the last answer (0 when none arrived).
  int StatusCode() const { return statusCode_; }
  // Body bytes of the last request delivered by DocData.
  std::int64_t BytesReceived() const { return bytesReceived_; }
  // The error of the last request in words (HttpErrorText, or the receive
  // stream's own message); empty after success.
  const std::string& ErrorText() const { return errorText_; }

  // Trusts, in this process, the certificate authorities of a PEM file, e.g.
  // a company's own authority in front of its proxy. Raises EHttpError when
  // the file holds no certificate.
  static void AddCaCertificates(const std::string& pemFile);

 signals:
  void DocBegin();
  // `buffer` is valid only during the call: connect directly.
  void DocData(const char* buffer, int length);
  void DocEnd();
  void RequestDone(int requestKind, int error);

 private:
  void StartRequest(THttpRequestKind kind);
  bool ApplyProxy();
  void OnMetaDataChanged();
  void OnReadyRead();
  void OnFinished();
  // The status of the answer is a success and this request takes a body.
  bool DeliversBody() const;
  // More than MaxBodyBytes() would have arrived by `bytes`.
  bool PastMaxBody(std::int64_t bytes) const { return maxBodyBytes_ > 0 && bytes > maxBodyBytes_; }
  void BeginBody();
  // Ends the request with `error`: drops the reply and raises RequestDone
  // from the event loop.
  void Complete(int error, std::string errorText = {});
  void ReleaseReply();
  int ErrorOfReply() const;

  QNetworkAccessManager* manager_;
  QPointer<QNetworkReply> reply_;
  std::string url_;
  std::string proxy_;
  std::string proxyPort_;
  std::string proxyUsername_;
  std::string proxyPassword_;
  std::string agent_;
  std::string accept_;
  bool noCache_ = false;
  int transferTimeoutMs_ = kDefaultTransferTimeoutMs;
  std::int64_t maxBodyBytes_ = 0;
  TLxStream* receiveStream_ = nullptr;

  // State of the running (or last) request.
  THttpRequestKind kind_ = httpRequestGet;
  bool busy_ = false;
  // Complete() ran: the reply is gone and RequestDone is on its way.
  bool completed_ = false;
  // The body is complete and DocEnd is being raised: too late to abort.
  bool finishing_ = false;
  bool bodyBegun_ = false;
  bool throughProxy_ = false;
  std::int64_t contentLength_ = -1;
  int statusCode_ = 0;
  std::int64_t bytesReceived_ = 0;
  std::string errorText_;
};
