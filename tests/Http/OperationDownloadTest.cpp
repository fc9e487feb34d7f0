// An operation downloading into LocalFile from a real server, directly and
// through a real proxy whose settings come from the program's settings.
#include <filesystem>

#include <QTimer>

#include "HttpTestServers.h"
#include "OperationRunner.h"
#include "OperationTestSupport.h"
#include "THttpCli.h"

namespace {

constexpr int kFileSize = 20'000;
constexpr char kUser[] = "escritorio";
constexpr char kPassword[] = "s3nhaF0rte";

// Cancels the operation at the first piece of a body, as a click on Cancel
// during a download does.
class TCancellingView : public TRecordingView {
 public:
  TOperation* Target = nullptr;
  void SetProgress(int position, int maximum) override {
    TRecordingView::SetProgress(position, maximum);
    if (Target && !Target->Cancelled()) Target->CancelOperation();
  }
};

class OperationDownloadTest : public OperationTest {
 protected:
  void SetUp() override {
    OperationTest::SetUp();
    std::filesystem::create_directories(root_.Path() / "lento");
    body_ = std::string(kFileSize, 'd');
    WriteWholeFile(root_.Path() / "doc00007.dat", body_);
    WriteWholeFile(root_.Path() / "lento" / "doc00007.dat", std::string(200'000, 'l'));
    ASSERT_TRUE(server_.Start()) << server_.Error();
  }

  // A two-step download: state 1 asks for the URL, state 2 ends the work.
  std::unique_ptr<TScriptedOperation> Download(const std::string& url, TRecordingView& view) {
    auto operation = std::make_unique<TScriptedOperation>();
    operation->SetView(&view);
    operation->On(1, [raw = operation.get(), url, this](const TOperationStep&, int&, int&) {
      raw->Transfer().SetLocalFile(LocalFile());
      raw->Transfer().SavedStep().State = 2;
      raw->Report().ResetProgress(kFileSize);
      raw->Transfer().HttpCli().SetURL(url);
      raw->Transfer().HttpCli().Get();
    });
    operation->On(2, [raw = operation.get()](const TOperationStep&, int&, int&) {
      raw->Report().AddLog("!! Concluído.", TLogColour::Green, TLogStyle::Bold);
      raw->SetFinished(true);
    });
    operation->PostStep(WM_OPERATIONSTEP, 1, 0);
    return operation;
  }
  std::string LocalFile() const { return folder_.File("Download/Doc00007.dat"); }

  TempFolder root_;
  TLighttpd server_{root_.Path().string(), false};
  std::string body_;
};

TEST_F(OperationDownloadTest, TheBodyLandsInLocalFileAndTheSavedStepRuns) {
  auto operation = Download(server_.Url("/doc00000/../doc00007.dat"), view_);
  EXPECT_EQ(RunOperation(*operation), 0);

  EXPECT_EQ(ReadWholeFile(LocalFile()), body_);
  EXPECT_EQ(operation->Transfer().BatchBytes(), kFileSize);
  EXPECT_EQ(operation->Report().ProgressPosition(), kFileSize);
  EXPECT_EQ(operation->Ran(), (std::vector<std::string>{"1:0", "2:0"}));
  const std::string url = operation->Transfer().HttpCli().URL();
  EXPECT_EQ(view_.Texts(), (std::vector<std::string>{"  URL: " + url, "  Arquivo Local: " + LocalFile(),
                                                     "  Tamanho: 19 KiB", "  Encerrado: " + url, "",
                                                     "!! Concluído."}));
}

TEST_F(OperationDownloadTest, NotFoundLogsTheCodeAndWritesNoFile) {
  auto operation = Download(server_.Url("/doc00000/doc00008.dat"), view_);
  EXPECT_EQ(RunOperation(*operation), 1);

  EXPECT_FALSE(std::filesystem::exists(LocalFile()));
  EXPECT_EQ(operation->Ran(), (std::vector<std::string>{"1:0"}));
  EXPECT_EQ(view_.Texts(), (std::vector<std::string>{"# Erro no download! Código do erro: 001.404",
                                                     "  O servidor respondeu com o código HTTP 404."}));
  EXPECT_TRUE(operation->Finished());
}

TEST_F(OperationDownloadTest, CancelDuringASlowDownloadAbortsItAndDropsThePart) {
  TCancellingView view;
  auto operation = Download(server_.Url("/lento/doc00007.dat"), view);
  view.Target = operation.get();
  EXPECT_EQ(RunOperation(*operation), 1);

  EXPECT_TRUE(operation->Cancelled());
  EXPECT_EQ(operation->Ran(), (std::vector<std::string>{"1:0"}));
  EXPECT_EQ(view.CountOf("# Erro no download! Código do erro: 001.1001"), 1);
  EXPECT_EQ(view.CountOf("  Transferência interrompida."), 1);
  EXPECT_FALSE(std::filesystem::exists(LocalFile()));
}

TEST_F(OperationDownloadTest, TheProxyComesFromTheSettings) {
  TTinyproxy proxy(kUser, kPassword);
  ASSERT_TRUE(proxy.Start()) << proxy.Error();
  Config().SetString(ProxyServer, "127.0.0.1");
  Config().SetString(ProxyPort, std::to_string(proxy.Port()));
  Config().SetString(ProxyUserName, kUser);
  Config().SetString(ProxyPassword, "errada");
  {
    TRecordingView refused;
    auto operation = Download(server_.Url("/doc00007.dat"), refused);
    EXPECT_EQ(RunOperation(*operation), 1);
    EXPECT_FALSE(std::filesystem::exists(LocalFile()));
    ASSERT_FALSE(refused.Lines.empty());
    EXPECT_EQ(refused.Lines[0].Text.rfind("# Erro no download! Código do erro: 001.", 0), 0u) << refused.Lines[0].Text;
    ASSERT_EQ(refused.Lines.size(), 2u);
    EXPECT_EQ(refused.Lines[1].Text, "  O proxy recusou o usuário ou a senha.");
  }
  Config().SetString(ProxyPassword, kPassword);
  auto operation = Download(server_.Url("/doc00007.dat"), view_);
  EXPECT_EQ(operation->Transfer().HttpCli().ProxyPassword(), kPassword);
  EXPECT_EQ(RunOperation(*operation), 0);
  EXPECT_EQ(ReadWholeFile(LocalFile()), body_);
}

TEST_F(OperationDownloadTest, ABodyCutShortLeavesNoFile) {
  TRawHttpServer raw;
  raw.Answer("/doc.dat", {"HTTP/1.1 200 OK\r\nContent-Length: 5000\r\n\r\n" + QByteArray(1000, 'x')});
  auto operation = Download(raw.Url("/doc.dat"), view_);
  EXPECT_EQ(RunOperation(*operation), 1);
  EXPECT_FALSE(std::filesystem::exists(LocalFile()));
  EXPECT_EQ(view_.CountOf("# Erro no download! Código do erro: 001.1006"), 1);
}

}  // namespace
