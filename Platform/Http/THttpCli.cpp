#include "THttpCli.h"

#include <charconv>
#include <exception>

#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSslCertificate>
#include <QSslConfiguration>
#include <QUrl>

#include "LxStrm.h"

namespace {

constexpr int kDefaultProxyPort = 80;
constexpr int kHighestPort = 65535;
// Qt keeps at most this much of an answer in memory before it stops reading
// the socket: the body goes to the receive stream as it comes.
constexpr qint64 kReadBufferSize = 8 * THttpCli::kChunkSize;
constexpr int kFirstSuccessStatus = 200;
constexpr int kFirstRedirectStatus = 300;
constexpr int kFirstClientErrorStatus = 400;

// The port of a proxy as typed in the settings: "" is 80, anything but a
// whole number from 1 to 65535 is refused (0).
int ParseProxyPort(const std::string& text) {
  if (text.empty()) return kDefaultProxyPort;
  int port = 0;
  const char* end = text.data() + text.size();
  const auto [stop, status] = std::from_chars(text.data(), end, port);
  if (status != std::errc() || stop != end || port < 1 || port > kHighestPort) return 0;
  return port;
}

bool IsWebAddress(const QUrl& url) {
  const QString scheme = url.scheme().toLower();
  return url.isValid() && (scheme == QLatin1String("http") || scheme == QLatin1String("https")) &&
         !url.host().isEmpty();
}

int ErrorOfNetworkFailure(QNetworkReply::NetworkError error) {
  switch (error) {
    case QNetworkReply::NoError: return httpSuccess;
    case QNetworkReply::ConnectionRefusedError: return httpConnectionRefused;
    case QNetworkReply::RemoteHostClosedError: return httpConnectionClosed;
    case QNetworkReply::HostNotFoundError: return httpHostNotFound;
    case QNetworkReply::TimeoutError:
    // Our own Abort() disconnects before it aborts, so a cancelled reply that
    // reaches us was ended by Qt's transfer timeout.
    case QNetworkReply::OperationCanceledError: return httpTimeout;
    case QNetworkReply::SslHandshakeFailedError: return httpSecureConnectionFailed;
    case QNetworkReply::TooManyRedirectsError:
    case QNetworkReply::InsecureRedirectError: return httpRedirectRefused;
    case QNetworkReply::ProxyConnectionRefusedError: return httpProxyConnectionRefused;
    case QNetworkReply::ProxyConnectionClosedError: return httpProxyConnectionClosed;
    case QNetworkReply::ProxyNotFoundError: return httpProxyNotFound;
    case QNetworkReply::ProxyTimeoutError: return httpProxyTimeout;
    case QNetworkReply::ProxyAuthenticationRequiredError: return httpProxyAuthenticationFailed;
    case QNetworkReply::UnknownProxyError: return httpProxyFailed;
    case QNetworkReply::ProtocolUnknownError: return httpInvalidUrl;
    case QNetworkReply::ProtocolInvalidOperationError:
    case QNetworkReply::ProtocolFailure: return httpProtocolError;
    default: return httpNetworkFailed;
  }
}

// Through a proxy every connection goes to the proxy (the proxy answers for
// the server with a status), so a failed connection is the proxy's.
int ProxyFailureOf(int failure) {
  switch (failure) {
    case httpConnectionRefused: return httpProxyConnectionRefused;
    case httpHostNotFound: return httpProxyNotFound;
    case httpConnectionClosed: return httpProxyConnectionClosed;
    default: return failure;
  }
}

}  // namespace

THttpCli::THttpCli(QObject* parent) : QObject(parent), manager_(new QNetworkAccessManager(this)) {
  // Only the proxy of our own settings applies, never one of the environment.
  manager_->setProxy(QNetworkProxy(QNetworkProxy::NoProxy));
}

THttpCli::~THttpCli() { ReleaseReply(); }

void THttpCli::Get() { StartRequest(httpRequestGet); }

void THttpCli::Head() { StartRequest(httpRequestHead); }

void THttpCli::StartRequest(THttpRequestKind kind) {
  if (busy_) throw EHttpError("Já existe uma transferência em andamento.");
  busy_ = true;
  completed_ = false;
  finishing_ = false;
  bodyBegun_ = false;
  kind_ = kind;
  contentLength_ = -1;
  statusCode_ = 0;
  bytesReceived_ = 0;
  errorText_.clear();

  const QUrl url(QString::fromStdString(url_), QUrl::StrictMode);
  if (!IsWebAddress(url)) return Complete(httpInvalidUrl);
  if (!ApplyProxy()) return Complete(httpInvalidProxy);

  QNetworkRequest request(url);
  if (!agent_.empty()) request.setHeader(QNetworkRequest::UserAgentHeader, QString::fromStdString(agent_));
  if (!accept_.empty()) request.setRawHeader("Accept", QByteArray::fromStdString(accept_));
  // Setting the encoding ourselves keeps Qt from inflating bodies behind our
  // back: the file we write is the server's file, byte for byte.
  request.setRawHeader("Accept-Encoding", "identity");
  // The manager has no cache of its own, so every answer comes from the
  // network either way; AlwaysNetwork would also add "Cache-Control" and
  // "Pragma" to every request, which only NoCache asks of the caches between.
  if (noCache_) {
    request.setRawHeader("Pragma", "no-cache");
    request.setRawHeader("Cache-Control", "no-cache");
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
  } else {
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::PreferNetwork);
  }
  request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
  request.setMaximumRedirectsAllowed(kMaxRedirects);
  request.setAttribute(QNetworkRequest::Http2AllowedAttribute, false);
  request.setTransferTimeout(transferTimeoutMs_);

  reply_ = kind == httpRequestGet ? manager_->get(request) : manager_->head(request);
  reply_->setReadBufferSize(kReadBufferSize);
  connect(reply_, &QNetworkReply::metaDataChanged, this, &THttpCli::OnMetaDataChanged);
  connect(reply_, &QNetworkReply::readyRead, this, &THttpCli::OnReadyRead);
  connect(reply_, &QNetworkReply::finished, this, &THttpCli::OnFinished);
}

bool THttpCli::ApplyProxy() {
  throughProxy_ = !proxy_.empty();
  if (!throughProxy_) {
    manager_->setProxy(QNetworkProxy(QNetworkProxy::NoProxy));
    return true;
  }
  const int port = ParseProxyPort(proxyPort_);
  if (port == 0) return false;
  manager_->setProxy(QNetworkProxy(QNetworkProxy::HttpProxy, QString::fromStdString(proxy_),
                                   static_cast<quint16>(port), QString::fromStdString(proxyUsername_),
                                   QString::fromStdString(proxyPassword_)));
  return true;
}

void THttpCli::Abort() {
  // Once the body is complete (DocEnd) there is nothing left to abort.
  if (!busy_ || completed_ || finishing_) return;
  Complete(httpAborted);
}

bool THttpCli::DeliversBody() const {
  return kind_ == httpRequestGet && statusCode_ >= kFirstSuccessStatus && statusCode_ < kFirstRedirectStatus;
}

void THttpCli::OnMetaDataChanged() {
  if (completed_) return;
  statusCode_ = reply_->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
  const QVariant length = reply_->header(QNetworkRequest::ContentLengthHeader);
  contentLength_ = length.isValid() ? length.toLongLong() : -1;
  // A length that is no length leaves no way to tell a whole body from a
  // torn one.
  if (reply_->hasRawHeader("Content-Length") && (!length.isValid() || contentLength_ < 0)) {
    contentLength_ = -1;
    return Complete(httpProtocolError);
  }
  if (DeliversBody() && PastMaxBody(contentLength_)) return Complete(httpBodyTooLarge);
  if (DeliversBody() && !bodyBegun_) BeginBody();
}

void THttpCli::BeginBody() {
  bodyBegun_ = true;
  emit DocBegin();
}

void THttpCli::OnReadyRead() {
  if (completed_) return;
  if (!DeliversBody()) {
    // The page of an error or of a redirect is nobody's document.
    reply_->readAll();
    return;
  }
  if (!bodyBegun_) {
    BeginBody();
    if (completed_) return;
  }
  char buffer[kChunkSize];
  while (!completed_) {
    const qint64 length = reply_->read(buffer, kChunkSize);
    if (length <= 0) break;
    const int count = static_cast<int>(length);
    if (PastMaxBody(bytesReceived_ + count)) return Complete(httpBodyTooLarge);
    if (receiveStream_) {
      try {
        receiveStream_->WriteBuffer(buffer, count);
      } catch (const std::exception& error) {
        return Complete(httpReceiveStreamFailed, error.what());
      }
    }
    bytesReceived_ += count;
    emit DocData(buffer, count);
  }
}

void THttpCli::OnFinished() {
  if (completed_) return;
  OnReadyRead();
  if (completed_) return;
  int error = ErrorOfReply();
  if (kind_ == httpRequestGet && bodyBegun_) {
    const bool shortOfLength = contentLength_ >= 0 && bytesReceived_ < contentLength_;
    if ((error == httpSuccess && shortOfLength) || error == httpConnectionClosed) error = httpBodyTruncated;
  }
  if (error == httpSuccess && kind_ == httpRequestGet) {
    if (!bodyBegun_) BeginBody();  // an empty body is still a document
    if (completed_) return;
    finishing_ = true;
    emit DocEnd();
  }
  Complete(error);
}

int THttpCli::ErrorOfReply() const {
  const QVariant status = reply_->attribute(QNetworkRequest::HttpStatusCodeAttribute);
  const int statusCode = status.isValid() ? status.toInt() : 0;
  // An error answer says itself best what went wrong.
  if (statusCode >= kFirstClientErrorStatus && IsHttpStatusError(statusCode)) return statusCode;
  const int failure = ErrorOfNetworkFailure(reply_->error());
  if (failure != httpSuccess) return throughProxy_ && statusCode == 0 ? ProxyFailureOf(failure) : failure;
  // No failure below HTTP, but no success either: a redirect that could not
  // be followed (no Location), or a status outside 2xx.
  if (statusCode != 0 && (statusCode < kFirstSuccessStatus || statusCode >= kFirstRedirectStatus)) {
    return IsHttpStatusError(statusCode) ? statusCode : httpProtocolError;
  }
  return httpSuccess;
}

void THttpCli::Complete(int error, std::string errorText) {
  completed_ = true;
  // A proxy that refuses the credentials answers 407, or 401 as tinyproxy
  // does; through a proxy the update server itself never asks for a password.
  if (errorText.empty() && (error == httpStatusProxyAuthenticationRequired ||
                            (throughProxy_ && error == httpStatusUnauthorized))) {
    errorText = HttpErrorText(httpProxyAuthenticationFailed);
  }
  if (error != httpSuccess) errorText_ = errorText.empty() ? HttpErrorText(error) : std::move(errorText);
  ReleaseReply();
  // The end always comes from the event loop, so that whoever handles it may
  // start the next request, and never runs inside one of our own callers.
  const int kind = kind_;
  QMetaObject::invokeMethod(
      this,
      [this, kind, error] {
        busy_ = false;
        emit RequestDone(kind, error);
      },
      Qt::QueuedConnection);
}

void THttpCli::ReleaseReply() {
  if (!reply_) return;
  QNetworkReply* reply = reply_;
  reply_ = nullptr;
  disconnect(reply, nullptr, this, nullptr);
  if (reply->isRunning()) reply->abort();
  reply->deleteLater();
}

void THttpCli::AddCaCertificates(const std::string& pemFile) {
  const QList<QSslCertificate> certificates = QSslCertificate::fromPath(QString::fromStdString(pemFile), QSsl::Pem);
  if (certificates.isEmpty()) {
    throw EHttpError(FormatMessage("Nenhum certificado encontrado em \"%s\".", pemFile.c_str()));
  }
  QSslConfiguration configuration = QSslConfiguration::defaultConfiguration();
  // Naming authorities by hand ends the loading of the system's on demand, so
  // the system's authorities are named too.
  QList<QSslCertificate> authorities = configuration.caCertificates();
  if (authorities.isEmpty()) authorities = QSslConfiguration::systemCaCertificates();
  authorities += certificates;
  configuration.setCaCertificates(authorities);
  QSslConfiguration::setDefaultConfiguration(configuration);
}
