// THttpCli against a real lighttpd, a real tinyproxy with basic
// authentication, and a scripted server for the faults real servers do not
// make on demand.
#include <filesystem>
#include <random>

#include <QEventLoop>
#include <QTimer>
#include <gtest/gtest.h>

#include "HttpTestServers.h"
#include "LxMemoryStream.h"
#include "THttpCli.h"

namespace {

constexpr int kRequestTimeoutMs = 20'000;
constexpr int kFileSize = 200 * 1024;
constexpr char kUser[] = "escritorio";
constexpr char kPassword[] = "s3nhaF0rte";

std::string RandomBytes(size_t count) {
  std::mt19937 random(42);
  std::string bytes(count, '\0');
  for (char& byte : bytes) byte = static_cast<char>(random());
  return bytes;
}

// Everything one request raised, in order. Its connections end with it (or
// at Detach), so several may take turns on one client.
class TTransfer {
 public:
  explicit TTransfer(THttpCli& http) : http_(http), context_(std::make_unique<QObject>()) {
    QObject* context = context_.get();
    QObject::connect(&http, &THttpCli::DocBegin, context, [this] {
      events_.push_back("begin");
      http_.SetReceiveStream(&stream_);
    });
    QObject::connect(&http, &THttpCli::DocData, context, [this](const char* buffer, int length) {
      ++chunks_;
      data_.append(buffer, static_cast<size_t>(length));
      if (abortAfterFirstChunk_) http_.Abort();
    });
    QObject::connect(&http, &THttpCli::DocEnd, context, [this] {
      events_.push_back("end");
      http_.SetReceiveStream(nullptr);
    });
    QObject::connect(&http, &THttpCli::RequestDone, context, [this](int kind, int error) {
      events_.push_back("done " + std::to_string(kind) + " " + std::to_string(error));
      kind_ = kind;
      error_ = error;
      done_ = true;
      if (loop_) loop_->quit();
    });
  }

  // Runs the event loop until RequestDone; false when it did not come.
  bool Wait() {
    if (done_) return true;
    QEventLoop loop;
    loop_ = &loop;
    QTimer::singleShot(kRequestTimeoutMs, &loop, &QEventLoop::quit);
    loop.exec();
    loop_ = nullptr;
    return done_;
  }
  bool Get(const std::string& url) {
    http_.SetURL(url);
    http_.Get();
    return Wait();
  }
  bool Head(const std::string& url) {
    http_.SetURL(url);
    http_.Head();
    return Wait();
  }
  // Stops listening to the client.
  void Detach() { context_.reset(); }

  void AbortAfterFirstChunk() { abortAfterFirstChunk_ = true; }
  int Error() const { return error_; }
  int Kind() const { return kind_; }
  int Chunks() const { return chunks_; }
  const std::string& Data() const { return data_; }
  const std::string& Written() const { return stream_.Bytes(); }
  // The events other than the body's pieces.
  const std::vector<std::string>& Events() const { return events_; }

 private:
  THttpCli& http_;
  TLxMemoryStream stream_;
  std::vector<std::string> events_;
  std::string data_;
  int chunks_ = 0;
  int kind_ = 0;
  int error_ = -1;
  bool done_ = false;
  bool abortAfterFirstChunk_ = false;
  QEventLoop* loop_ = nullptr;
  std::unique_ptr<QObject> context_;
};

// Large bodies compare without printing them.
::testing::AssertionResult SameBytes(const std::string& actual, const std::string& expected) {
  if (actual == expected) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << actual.size() << " bytes differ from the " << expected.size()
                                       << " expected";
}

class HttpClientTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(root_.Path() / "lento");
    file_ = RandomBytes(kFileSize);
    WriteWholeFile(root_.Path() / "tomoidxz.dat", file_);
    WriteWholeFile(root_.Path() / "lento" / "grande.dat", file_);
    WriteWholeFile(root_.Path() / "vazio.dat", "");
    ASSERT_TRUE(server_.Start()) << server_.Error();
  }

  TempFolder root_;
  TLighttpd server_{root_.Path().string(), false};
  std::string file_;
  THttpCli http_;
  TTransfer transfer_{http_};
};

TEST_F(HttpClientTest, GetDeliversTheFileByteForByte) {
  ASSERT_TRUE(transfer_.Get(server_.Url("/tomoidxz.dat")));
  EXPECT_EQ(transfer_.Events(), (std::vector<std::string>{"begin", "end", "done 1 0"}));
  EXPECT_TRUE(SameBytes(transfer_.Written(), file_));
  EXPECT_TRUE(SameBytes(transfer_.Data(), file_));
  EXPECT_EQ(http_.ContentLength(), kFileSize);
  EXPECT_EQ(http_.StatusCode(), 200);
  EXPECT_GE(transfer_.Chunks(), kFileSize / THttpCli::kChunkSize);
  EXPECT_TRUE(http_.ErrorText().empty());
  EXPECT_FALSE(http_.Busy());
}

TEST_F(HttpClientTest, AnEmptyFileIsStillADocument) {
  ASSERT_TRUE(transfer_.Get(server_.Url("/vazio.dat")));
  EXPECT_EQ(transfer_.Events(), (std::vector<std::string>{"begin", "end", "done 1 0"}));
  EXPECT_EQ(http_.ContentLength(), 0);
}

TEST_F(HttpClientTest, HeadGivesTheLengthWithoutABody) {
  ASSERT_TRUE(transfer_.Head(server_.Url("/tomoidxz.dat")));
  EXPECT_EQ(transfer_.Events(), (std::vector<std::string>{"done 3 0"}));
  EXPECT_EQ(http_.ContentLength(), kFileSize);
  EXPECT_TRUE(transfer_.Written().empty());
}

TEST_F(HttpClientTest, NotFoundIsAnErrorAndItsPageIsNeverWritten) {
  ASSERT_TRUE(transfer_.Get(server_.Url("/doc00000/doc00007.dat")));
  EXPECT_EQ(transfer_.Events(), (std::vector<std::string>{"done 1 404"}));
  EXPECT_TRUE(transfer_.Data().empty());
  EXPECT_EQ(http_.ErrorText(), "O servidor respondeu com o código HTTP 404.");

  transfer_.Detach();
  TTransfer head(http_);
  ASSERT_TRUE(head.Head(server_.Url("/falta.dat")));
  EXPECT_EQ(head.Events(), (std::vector<std::string>{"done 3 404"}));
}

TEST_F(HttpClientTest, ARedirectIsFollowedAndOnlyTheTargetIsWritten) {
  ASSERT_TRUE(transfer_.Get(server_.Url("/antigo/tomoidxz.dat")));
  EXPECT_EQ(transfer_.Events(), (std::vector<std::string>{"begin", "end", "done 1 0"}));
  EXPECT_TRUE(SameBytes(transfer_.Written(), file_));
}

TEST_F(HttpClientTest, ASlowBodyAbortedMidwayEndsAsAborted) {
  transfer_.AbortAfterFirstChunk();
  ASSERT_TRUE(transfer_.Get(server_.Url("/lento/grande.dat")));
  EXPECT_EQ(transfer_.Events(), (std::vector<std::string>{"begin", "done 1 1001"}));
  EXPECT_EQ(transfer_.Chunks(), 1);
  EXPECT_LT(transfer_.Written().size(), file_.size());
  EXPECT_EQ(http_.ErrorText(), "Transferência interrompida.");
  // The client is free for the next request.
  transfer_.Detach();
  TTransfer next(http_);
  ASSERT_TRUE(next.Get(server_.Url("/tomoidxz.dat")));
  EXPECT_TRUE(SameBytes(next.Written(), file_));
}

TEST_F(HttpClientTest, ConnectionRefusedIsAnError) {
  ASSERT_TRUE(transfer_.Get("http://127.0.0.1:" + std::to_string(FreeLocalPort()) + "/tomoidxz.dat"));
  EXPECT_EQ(transfer_.Events(), (std::vector<std::string>{"done 1 1002"}));
}

TEST_F(HttpClientTest, AddressesThatAreNotWebAddressesEndAtOnce) {
  transfer_.Detach();
  for (const char* url : {"", "ftp://127.0.0.1/x", "http://", "nada de endereço", "file:///etc/passwd"}) {
    TTransfer bad(http_);
    ASSERT_TRUE(bad.Get(url)) << url;
    EXPECT_EQ(bad.Events(), (std::vector<std::string>{"done 1 1020"})) << url;
  }
}

TEST_F(HttpClientTest, ASecondRequestWhileOneRunsIsRefused) {
  http_.SetURL(server_.Url("/lento/grande.dat"));
  http_.Get();
  EXPECT_THROW(http_.Head(), EHttpError);
  http_.Abort();
  ASSERT_TRUE(transfer_.Wait());
  EXPECT_EQ(transfer_.Error(), httpAborted);
}

// --- Through tinyproxy ------------------------------------------------------------

class HttpProxyTest : public HttpClientTest {
 protected:
  void SetUp() override {
    HttpClientTest::SetUp();
    ASSERT_TRUE(proxy_.Start()) << proxy_.Error();
    http_.SetProxy("127.0.0.1");
    http_.SetProxyPort(std::to_string(proxy_.Port()));
  }

  TTinyproxy proxy_{kUser, kPassword};
};

TEST_F(HttpProxyTest, TheRightPasswordPasses) {
  http_.SetProxyUsername(kUser);
  http_.SetProxyPassword(kPassword);
  ASSERT_TRUE(transfer_.Get(server_.Url("/tomoidxz.dat")));
  EXPECT_EQ(transfer_.Events(), (std::vector<std::string>{"begin", "end", "done 1 0"}));
  EXPECT_TRUE(SameBytes(transfer_.Written(), file_));
}

TEST_F(HttpProxyTest, AWrongPasswordFailsAndWritesNothing) {
  http_.SetProxyUsername(kUser);
  http_.SetProxyPassword("errada");
  ASSERT_TRUE(transfer_.Get(server_.Url("/tomoidxz.dat")));
  // tinyproxy refuses a wrong password with 401 (407 only asks for one).
  EXPECT_EQ(transfer_.Events(), (std::vector<std::string>{"done 1 401"}));
  EXPECT_TRUE(transfer_.Data().empty());
  EXPECT_EQ(http_.ErrorText(), "O proxy recusou o usuário ou a senha.");
}

TEST_F(HttpProxyTest, NoCredentialsFailWithTheProxysStatus) {
  ASSERT_TRUE(transfer_.Get(server_.Url("/tomoidxz.dat")));
  EXPECT_EQ(transfer_.Events(), (std::vector<std::string>{"done 1 407"}));
  EXPECT_EQ(http_.ErrorText(), "O proxy recusou o usuário ou a senha.");
}

TEST_F(HttpProxyTest, AProxyPortThatIsNoNumberEndsAtOnce) {
  http_.SetProxyPort("oitenta");
  ASSERT_TRUE(transfer_.Get(server_.Url("/tomoidxz.dat")));
  EXPECT_EQ(transfer_.Events(), (std::vector<std::string>{"done 1 1021"}));
}

TEST_F(HttpProxyTest, AProxyThatDoesNotListenIsAnError) {
  http_.SetProxyPort(std::to_string(FreeLocalPort()));
  ASSERT_TRUE(transfer_.Get(server_.Url("/tomoidxz.dat")));
  EXPECT_EQ(transfer_.Events(), (std::vector<std::string>{"done 1 1010"}));
}

// --- HTTPS --------------------------------------------------------------------

class HttpsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    file_ = RandomBytes(kFileSize);
    WriteWholeFile(root_.Path() / "tomoidxz.dat", file_);
    ASSERT_TRUE(server_.Start()) << server_.Error();
  }

  TempFolder root_;
  TLighttpd server_{root_.Path().string(), true};
  std::string file_;
  THttpCli http_;
  TTransfer transfer_{http_};
};

// Each test runs in a process of its own, so trusting the test's authority
// in one does not leak into the others.
TEST_F(HttpsTest, AnUntrustedCertificateIsRefused) {
  ASSERT_TRUE(transfer_.Get(server_.TlsUrl("/tomoidxz.dat")));
  EXPECT_EQ(transfer_.Events(), (std::vector<std::string>{"done 1 1007"}));
}

TEST_F(HttpsTest, ATrustedCertificateCarriesTheFile) {
  THttpCli::AddCaCertificates(server_.CertificateFile());
  ASSERT_TRUE(transfer_.Get(server_.TlsUrl("/tomoidxz.dat")));
  EXPECT_EQ(transfer_.Events(), (std::vector<std::string>{"begin", "end", "done 1 0"}));
  EXPECT_TRUE(SameBytes(transfer_.Written(), file_));
}

TEST_F(HttpsTest, ARedirectFromHttpsToHttpIsRefused) {
  THttpCli::AddCaCertificates(server_.CertificateFile());
  ASSERT_TRUE(transfer_.Get(server_.TlsUrl("/para-http/tomoidxz.dat")));
  EXPECT_EQ(transfer_.Events(), (std::vector<std::string>{"done 1 1008"}));
  EXPECT_TRUE(transfer_.Data().empty());
}

TEST_F(HttpsTest, HttpsPassesThroughTheProxy) {
  THttpCli::AddCaCertificates(server_.CertificateFile());
  TTinyproxy proxy(kUser, kPassword);
  ASSERT_TRUE(proxy.Start()) << proxy.Error();
  http_.SetProxy("127.0.0.1");
  http_.SetProxyPort(std::to_string(proxy.Port()));
  http_.SetProxyUsername(kUser);
  http_.SetProxyPassword(kPassword);
  ASSERT_TRUE(transfer_.Get(server_.TlsUrl("/tomoidxz.dat")));
  EXPECT_EQ(transfer_.Events(), (std::vector<std::string>{"begin", "end", "done 1 0"}));
  EXPECT_TRUE(SameBytes(transfer_.Written(), file_));
}

TEST(HttpCertificateTest, AFileWithoutCertificatesIsRefused) {
  TempFolder folder;
  WriteWholeFile(folder.Path() / "nada.pem", "isto não é um certificado");
  EXPECT_THROW(THttpCli::AddCaCertificates(folder.File("nada.pem")), EHttpError);
}

// --- Faults a real server does not make on demand -------------------------------

class HttpFaultTest : public ::testing::Test {
 protected:
  TRawHttpServer server_;
  THttpCli http_;
  TTransfer transfer_{http_};
};

TEST_F(HttpFaultTest, ABodyCutShortIsAnErrorWithoutEnd) {
  server_.Answer("/doc.dat", {"HTTP/1.1 200 OK\r\nContent-Length: 5000\r\n\r\n" + QByteArray(1000, 'x')});
  ASSERT_TRUE(transfer_.Get(server_.Url("/doc.dat")));
  EXPECT_EQ(transfer_.Events(), (std::vector<std::string>{"begin", "done 1 1006"}));
  EXPECT_EQ(transfer_.Data().size(), 1000u);
}

TEST_F(HttpFaultTest, HeadWithoutContentLengthSucceedsWithAnUnknownLength) {
  server_.Answer("/tomoidxz.dat", {"HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n"});
  ASSERT_TRUE(transfer_.Head(server_.Url("/tomoidxz.dat")));
  EXPECT_EQ(transfer_.Events(), (std::vector<std::string>{"done 3 0"}));
  EXPECT_EQ(http_.ContentLength(), -1);
}

TEST_F(HttpFaultTest, ABodyWithoutLengthEndsWithTheConnection) {
  server_.Answer("/doc.dat", {"HTTP/1.0 200 OK\r\n\r\n" + QByteArray(3000, 'y')});
  ASSERT_TRUE(transfer_.Get(server_.Url("/doc.dat")));
  EXPECT_EQ(transfer_.Events(), (std::vector<std::string>{"begin", "end", "done 1 0"}));
  EXPECT_EQ(transfer_.Written(), std::string(3000, 'y'));
}

TEST_F(HttpFaultTest, AServerErrorPageIsNeverWritten) {
  server_.Answer("/doc.dat", {"HTTP/1.1 500 Internal Server Error\r\nContent-Length: 11\r\n\r\nerro feio!!"});
  ASSERT_TRUE(transfer_.Get(server_.Url("/doc.dat")));
  EXPECT_EQ(transfer_.Events(), (std::vector<std::string>{"done 1 500"}));
  EXPECT_TRUE(transfer_.Data().empty());
}

TEST_F(HttpFaultTest, GarbageInsteadOfAnAnswerIsAnError) {
  server_.Answer("/a", {"SSH-2.0-OpenSSH\r\n\r\n\x01\x02\x03"});
  server_.Answer("/b", {QByteArray("HTTP/1.1 200 OK\r\nContent-Length: -5\r\n\r\nabc")});
  server_.Answer("/c", {QByteArray("HTTP/1.1 999 Sei la\r\nContent-Length: 3\r\n\r\nabc")});
  transfer_.Detach();
  for (const char* path : {"/a", "/b", "/c"}) {
    TTransfer garbage(http_);
    ASSERT_TRUE(garbage.Get(server_.Url(path))) << path;
    EXPECT_NE(garbage.Error(), 0) << path;
    EXPECT_EQ(garbage.Events().back(), "done 1 " + std::to_string(garbage.Error())) << path;
  }
}

TEST_F(HttpFaultTest, AServerThatStallsTimesOut) {
  server_.Answer("/doc.dat", {{}, false, true});
  http_.SetTransferTimeout(300);
  ASSERT_TRUE(transfer_.Get(server_.Url("/doc.dat")));
  EXPECT_EQ(transfer_.Events(), (std::vector<std::string>{"done 1 1004"}));
}

TEST_F(HttpFaultTest, AStalledRequestCanBeAborted) {
  server_.Answer("/doc.dat", {{}, false, true});
  http_.SetURL(server_.Url("/doc.dat"));
  http_.Get();
  QTimer::singleShot(100, [this] { http_.Abort(); });
  ASSERT_TRUE(transfer_.Wait());
  EXPECT_EQ(transfer_.Events(), (std::vector<std::string>{"done 1 1001"}));
}

TEST_F(HttpFaultTest, TheRequestCarriesTheClientsFields) {
  server_.Answer("/doc.dat", {"HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nok"});
  http_.SetAgent("Mozilla/3.0 (compatible)");
  http_.SetAccept("image/gif, */*");
  http_.SetNoCache(true);
  ASSERT_TRUE(transfer_.Get(server_.Url("/doc.dat")));
  ASSERT_EQ(server_.Requests().size(), 1u);
  const std::string& request = server_.Requests()[0];
  EXPECT_NE(request.find("GET /doc.dat HTTP/1.1"), std::string::npos) << request;
  EXPECT_NE(request.find("User-Agent: Mozilla/3.0 (compatible)"), std::string::npos) << request;
  EXPECT_NE(request.find("Accept: image/gif, */*"), std::string::npos) << request;
  EXPECT_NE(request.find("Pragma: no-cache"), std::string::npos) << request;
  EXPECT_NE(request.find("Cache-Control: no-cache"), std::string::npos) << request;
  EXPECT_NE(request.find("Accept-Encoding: identity"), std::string::npos) << request;
}

TEST_F(HttpFaultTest, WithoutNoCacheNoCacheFieldIsSent) {
  server_.Answer("/doc.dat", {"HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nok"});
  http_.SetNoCache(false);
  ASSERT_TRUE(transfer_.Get(server_.Url("/doc.dat")));
  ASSERT_EQ(server_.Requests().size(), 1u);
  const std::string& request = server_.Requests()[0];
  EXPECT_EQ(request.find("Pragma"), std::string::npos) << request;
  EXPECT_EQ(request.find("Cache-Control"), std::string::npos) << request;
  EXPECT_EQ(transfer_.Written(), "ok");
  // A server's 401 without a proxy is the server's, not a proxy's refusal.
  server_.Answer("/privado.dat", {"HTTP/1.1 401 Unauthorized\r\nContent-Length: 0\r\n\r\n"});
  transfer_.Detach();
  TTransfer refused(http_);
  ASSERT_TRUE(refused.Get(server_.Url("/privado.dat")));
  EXPECT_EQ(refused.Error(), 401);
  EXPECT_EQ(http_.ErrorText(), "O servidor respondeu com o código HTTP 401.");
}

TEST_F(HttpFaultTest, AReceiveStreamThatRefusesBytesEndsTheRequest) {
  server_.Answer("/doc.dat", {"HTTP/1.1 200 OK\r\nContent-Length: 4\r\n\r\ndado"});
  // A stream that takes nothing, as a full disk would.
  class TFullStream : public TLxMemoryStream {
    std::int32_t Write(const void*, std::int32_t) override { return 0; }
  } full;
  QObject::connect(&http_, &THttpCli::DocBegin, [&] { http_.SetReceiveStream(&full); });
  http_.SetURL(server_.Url("/doc.dat"));
  http_.Get();
  ASSERT_TRUE(transfer_.Wait());
  EXPECT_EQ(transfer_.Error(), httpReceiveStreamFailed);
  EXPECT_EQ(http_.ErrorText(), "Erro de escrita no fluxo");
}

}  // namespace
