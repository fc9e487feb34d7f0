#include "HttpTestServers.h"

#include <csignal>
#include <sys/prctl.h>

#include <QDeadlineTimer>
#include <QStandardPaths>
#include <QTcpSocket>
#include <QThread>

namespace {

constexpr int kConnectAttemptMs = 200;
constexpr int kPollPauseMs = 50;
constexpr int kStopTimeoutMs = 3'000;
constexpr int kCertificateTimeoutMs = 30'000;
constexpr char kLocalHost[] = "127.0.0.1";

// Servers live in sbin, which a user's PATH may lack.
QString FindProgram(const std::string& name) {
  const QString program = QString::fromStdString(name);
  QString found = QStandardPaths::findExecutable(program);
  if (found.isEmpty()) found = QStandardPaths::findExecutable(program, {"/usr/sbin", "/sbin", "/usr/local/sbin"});
  return found;
}

bool TakesConnections(int port) {
  QTcpSocket socket;
  socket.connectToHost(QString::fromLatin1(kLocalHost), static_cast<quint16>(port));
  return socket.waitForConnected(kConnectAttemptMs);
}

}  // namespace

int FreeLocalPort() {
  QTcpServer probe;
  probe.listen(QHostAddress::LocalHost, 0);
  const int port = probe.serverPort();
  probe.close();
  return port;
}

// --- TServerProcess ----------------------------------------------------------------

TServerProcess::~TServerProcess() { Stop(); }

bool TServerProcess::Start(const std::string& program, const std::vector<std::string>& arguments,
                           const std::vector<int>& ports, const std::string& logFile) {
  const QString path = FindProgram(program);
  if (path.isEmpty()) {
    error_ = program + " não está instalado (scripts/setup.sh o instala)";
    return false;
  }
  process_ = std::make_unique<QProcess>();
  process_->setProgram(path);
  QStringList list;
  for (const std::string& argument : arguments) list << QString::fromStdString(argument);
  process_->setArguments(list);
  process_->setProcessChannelMode(QProcess::MergedChannels);
  process_->setStandardOutputFile(QString::fromStdString(logFile));
  // A test that crashes must not leave its server behind.
  process_->setChildProcessModifier([] { prctl(PR_SET_PDEATHSIG, SIGKILL); });
  process_->start();
  const QDeadlineTimer deadline(kStartTimeoutMs);
  if (!process_->waitForStarted(kStartTimeoutMs)) {
    error_ = program + " não iniciou: " + process_->errorString().toStdString();
    return false;
  }
  for (int port : ports) {
    while (!TakesConnections(port)) {
      if (process_->state() == QProcess::NotRunning) {
        error_ = program + " terminou ao iniciar: " + ReadWholeFile(logFile);
        return false;
      }
      if (deadline.hasExpired()) {
        error_ = program + " não atendeu na porta " + std::to_string(port) + ": " + ReadWholeFile(logFile);
        return false;
      }
      QThread::msleep(kPollPauseMs);
    }
  }
  return true;
}

void TServerProcess::Stop() {
  if (!process_ || process_->state() == QProcess::NotRunning) return;
  process_->terminate();
  if (!process_->waitForFinished(kStopTimeoutMs)) {
    process_->kill();
    process_->waitForFinished(kStopTimeoutMs);
  }
}

// --- TLighttpd ---------------------------------------------------------------------

TLighttpd::TLighttpd(const std::string& root, bool tls) : root_(root), tls_(tls) {}

std::string TLighttpd::Url(const std::string& path) const {
  return "http://127.0.0.1:" + std::to_string(port_) + path;
}

std::string TLighttpd::TlsUrl(const std::string& path) const {
  return "https://127.0.0.1:" + std::to_string(tlsPort_) + path;
}

bool TLighttpd::MakeCertificate() {
  certificateFile_ = work_.File("cert.pem");
  QProcess openssl;
  openssl.setProcessChannelMode(QProcess::MergedChannels);
  openssl.start(FindProgram("openssl"),
                {"req", "-x509", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1", "-nodes", "-keyout",
                 QString::fromStdString(work_.File("key.pem")), "-out", QString::fromStdString(certificateFile_),
                 "-days", "2", "-subj", "/CN=127.0.0.1", "-addext", "subjectAltName=IP:127.0.0.1"});
  return openssl.waitForFinished(kCertificateTimeoutMs) && openssl.exitCode() == 0;
}

bool TLighttpd::Start() {
  port_ = FreeLocalPort();
  std::vector<int> ports{port_};
  std::string modules = "\"mod_redirect\"";
  std::string tlsSection;
  if (tls_) {
    if (!MakeCertificate()) return false;
    tlsPort_ = FreeLocalPort();
    ports.push_back(tlsPort_);
    modules += ", \"mod_openssl\"";
    tlsSection = "$SERVER[\"socket\"] == \"127.0.0.1:" + std::to_string(tlsPort_) +
                 "\" {\n  ssl.engine = \"enable\"\n  ssl.pemfile = \"" + certificateFile_ +
                 "\"\n  ssl.privkey = \"" + work_.File("key.pem") + "\"\n}\n";
  }
  const std::string config =
      "server.document-root = \"" + root_ + "\"\n"
      "server.bind = \"127.0.0.1\"\n"
      "server.port = " + std::to_string(port_) + "\n"
      "server.errorlog = \"" + work_.File("error.log") + "\"\n"
      // Tests rewrite served files between requests: no cached sizes.
      "server.stat-cache-engine = \"disable\"\n"
      "server.modules = (" + modules + ")\n"
      "mimetype.assign = ( \"\" => \"application/octet-stream\" )\n"
      "$HTTP[\"url\"] =~ \"^/lento/\" { connection.kbytes-per-second = 8 }\n"
      "url.redirect = ( \"^/antigo/(.*)$\" => \"/$1\",\n"
      "                 \"^/para-http/(.*)$\" => \"http://127.0.0.1:" + std::to_string(port_) + "/$1\" )\n" +
      tlsSection;
  WriteWholeFile(work_.File("lighttpd.conf"), config);
  return process_.Start("lighttpd", {"-D", "-f", work_.File("lighttpd.conf")}, ports, work_.File("output.log"));
}

// --- TTinyproxy --------------------------------------------------------------------

TTinyproxy::TTinyproxy(std::string user, std::string password)
    : user_(std::move(user)), password_(std::move(password)) {}

bool TTinyproxy::Start() {
  port_ = FreeLocalPort();
  const std::string config =
      "Port " + std::to_string(port_) + "\n"
      "Listen 127.0.0.1\n"
      "Timeout 30\n"
      "MaxClients 20\n"
      "LogLevel Info\n"
      "BasicAuth " + user_ + " " + password_ + "\n";
  WriteWholeFile(work_.File("tinyproxy.conf"), config);
  return process_.Start("tinyproxy", {"-d", "-c", work_.File("tinyproxy.conf")}, {port_}, work_.File("output.log"));
}

// --- TRawHttpServer ----------------------------------------------------------------

TRawHttpServer::TRawHttpServer() {
  listen(QHostAddress::LocalHost, 0);
  connect(this, &QTcpServer::newConnection, this, &TRawHttpServer::Accept);
}

std::string TRawHttpServer::Url(const std::string& path) const {
  return "http://127.0.0.1:" + std::to_string(Port()) + path;
}

void TRawHttpServer::SendForEver(QTcpSocket* socket) {
  constexpr qint64 kPieceBytes = 64 * 1024;
  // Bounded all the same, so that a client that never stops reading cannot
  // keep a test running.
  constexpr qint64 kMostBytes = qint64{4} * 1024 * 1024 * 1024;
  auto sent = std::make_shared<qint64>(0);
  const auto topUp = [socket, sent] {
    while (socket->bytesToWrite() < kPieceBytes && *sent < kMostBytes) {
      socket->write(QByteArray(kPieceBytes, 'x'));
      *sent += kPieceBytes;
    }
  };
  connect(socket, &QTcpSocket::bytesWritten, socket, topUp);
  topUp();
}

void TRawHttpServer::Accept() {
  while (QTcpSocket* socket = nextPendingConnection()) {
    socket->setParent(this);
    auto received = std::make_shared<QByteArray>();
    connect(socket, &QTcpSocket::readyRead, socket, [this, socket, received] {
      received->append(socket->readAll());
      const qsizetype end = received->indexOf("\r\n\r\n");
      if (end < 0) return;
      const std::string request = received->left(end).toStdString();
      received->remove(0, end + 4);
      requests_.push_back(request);
      const size_t pathStart = request.find(' ') + 1;
      const std::string path = request.substr(pathStart, request.find(' ', pathStart) - pathStart);
      const auto answer = answers_.find(path);
      if (answer == answers_.end()) {
        socket->write("HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
        socket->disconnectFromHost();
        return;
      }
      if (answer->second.Stall) return;
      socket->write(answer->second.Bytes);
      if (answer->second.Endless) return SendForEver(socket);
      if (answer->second.CloseAfter) socket->disconnectFromHost();
    });
  }
}
