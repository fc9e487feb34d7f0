// The Internet update (states 20 to 25) in this process, against a real
// lighttpd on 127.0.0.1 serving an update server's layout, and a scripted
// server for bodies cut short and servers that stop answering: the log, the
// batches, and what the base holds after every fault.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/resource.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include <QTimer>

#include "CutPlan.h"
#include "DocumentFileFormat.h"
#include "DocumentFileName.h"
#include "FileWrites.h"
#include "HttpTestServers.h"
#include "IndexBuildSequence.h"
#include "InstalledCollection.h"
#include "LxCodePage.h"
#include "LxFileStream.h"
#include "OperationTestSupport.h"
#include "PackageTestSupport.h"
#include "PowerCut.h"
#include "Prompts.h"
#include "SearchResultList.h"
#include "TOMODocumentSet.h"
#include "TOMOStream.h"
#include "TOMOTree.h"
#include "THttpCli.h"
#include "InternetUpdate.h"
#include "WordIndex.h"

namespace fs = std::filesystem;

namespace {

using ::testing::Contains;
using ::testing::HasSubstr;
using ::testing::Not;

constexpr char kSuccessLine[] = "!! Atualização concluída com êxito.";
constexpr int kShortTimeoutMs = 800;

// A view that does something when a line is logged.
class TTriggerView : public TRecordingView {
 public:
  void AddLog(const std::string& text, TLogColour colour, TLogStyle style) override {
    TRecordingView::AddLog(text, colour, style);
    if (trigger && text.rfind(prefix, 0) == 0) {
      auto action = std::move(trigger);
      trigger = nullptr;
      action();
    }
  }
  std::string prefix;
  std::function<void()> trigger;
};

// A document file of exactly `totalBytes`, its body stored scrambled (no
// compression), so that transfers have the sizes a test needs.
void WriteSizedDocument(const std::string& path, std::int32_t totalBytes) {
  const std::string header = "TOMO.Documento\r\nData: 01/01/2031\r\n" + Utf8ToWin1252("Codificação") + ": " +
                             kEncodingScrambledBody + "\r\n\r\n";
  std::string bodyHeader;
  std::int32_t content = totalBytes - static_cast<std::int32_t>(header.size());
  for (int pass = 0; pass < 3; ++pass) {
    bodyHeader = "Data: 01/01/2031\r\nTamanho: " + std::to_string(content) + "\r\n\r\n";
    content = totalBytes - static_cast<std::int32_t>(header.size() + bodyHeader.size());
  }
  const std::string body = bodyHeader + "{\\rtf1 " + std::string(static_cast<size_t>(content) - 8, 'x') + "}";
  fs::create_directories(fs::path(path).parent_path());
  auto file = std::make_unique<TLxFileStream>(path, TLxFileMode::Create);
  file->Write(header.data(), static_cast<std::int32_t>(header.size()));
  TTOMOStream scrambled(std::move(file));
  scrambled.Write(body.data(), static_cast<std::int32_t>(body.size()));
}

class InternetUpdateTest : public OperationTest {
 protected:
  void SetUp() override {
    OperationTest::SetUp();
    GenerateSmallBase(Path("old"));
    CopyFolder(Path("old"), Path("new"));
    CopyFolder(Path("old"), Path("data"));
    documents_ = std::make_unique<TTOMODocumentFolder>(Path("data"));
    collection_ = std::make_unique<TInstalledCollection>([this] { return Path("data"); }, [] { return nullptr; });
    collection_->LoadTree();
  }

  std::string Path(const std::string& name) const { return folder_.File(name); }
  std::string Layout() const { return Path("www") + "/atualizacao"; }

  // Entry Id of document `number`.
  std::int32_t IdOf(std::int32_t number) {
    for (const auto& [id, n] : DocumentEntries(Path("old"))) {
      if (n == number) return id;
    }
    return 0;
  }

  // The server's document `number` becomes a newer one of `bytes` bytes.
  void ServeNewerDocument(std::int32_t number, std::int32_t bytes) {
    WriteSizedDocument(DocumentFileName(Path("new"), number), bytes);
    EditRecord(Path("new"), IdOf(number), [](TTOMORecordH& record) { record.DocumentDate = NewerDate(); });
  }

  // The layout of NEW as make-server writes it.
  void WriteLayout() {
    fs::create_directories(Layout());
    WriteWholeFile(Layout() + "/tomoidxz.dat", ZlibBlock(ReadWholeFile(Path("new") + "/TOMOIdx.dat")));
    for (const auto& [id, number] : DocumentEntries(Path("new"))) {
      const std::string target = TInternetUpdate::LowerCaseURL(DocumentFileName(Layout(), number));
      fs::create_directories(fs::path(target).parent_path());
      fs::copy_file(DocumentFileName(Path("new"), number), target, fs::copy_options::overwrite_existing);
    }
  }

  std::unique_ptr<TInternetUpdate> MakeUpdate(const std::string& url, TOperationView& view) {
    auto update = std::make_unique<TInternetUpdate>(*collection_, nullptr);
    update->SetDownloadFolder(DownloadFolder());
    update->SetUpdateURL(url);
    update->SetView(&view);
    return update;
  }

  // Runs one update to its end; false when the chain did not end in time.
  bool Run(TInternetUpdate& update) {
    update.Start();
    return RunChain(update, 30'000);
  }

  void ExpectBaseEquals(const std::string& expected) {
    EXPECT_EQ(TreeDump(Path("data")), TreeDump(expected));
    for (const auto& [id, number] : DocumentEntries(expected)) {
      EXPECT_EQ(DocumentBody(Path("data"), number), DocumentBody(expected, number)) << "document " << number;
    }
  }

  // The tree reads, and every entry it lists with a document reads whole.
  void ExpectBaseReadsWhole() {
    for (const auto& [id, number] : DocumentEntries(Path("data"))) {
      EXPECT_FALSE(DocumentBody(Path("data"), number).empty()) << "document " << number;
    }
  }

  // Starts lighttpd on the layout, runs an update that must succeed, and
  // checks the base is the server's.
  void UpdateAgainFromLighttpd() {
    TLighttpd server(Path("www"), false);
    ASSERT_TRUE(server.Start()) << server.Error();
    collection_->LoadTree();
    TRecordingView view;
    auto update = MakeUpdate(server.Url("/atualizacao"), view);
    ASSERT_TRUE(Run(*update));
    EXPECT_THAT(view.Texts(), Contains(kSuccessLine));
    ExpectBaseEquals(Path("new"));
  }

  std::unique_ptr<TTOMODocumentFolder> documents_;
  std::unique_ptr<TInstalledCollection> collection_;
};

TEST_F(InternetUpdateTest, NothingToUpdate) {
  WriteLayout();
  TLighttpd server(Path("www"), false);
  ASSERT_TRUE(server.Start()) << server.Error();
  auto update = MakeUpdate(server.Url("/atualizacao"), view_);
  ASSERT_TRUE(Run(*update));
  EXPECT_FALSE(update->Failed());
  EXPECT_TRUE(update->Finished());
  EXPECT_EQ(view_.CountOf("! Nada a atualizar."), 1);
  EXPECT_EQ(view_.CountOf("! Documentos a serem atualizados: 0"), 1);
  EXPECT_EQ(view_.CountOf("  Total de bytes a serem transferidos: 0"), 1);
  EXPECT_EQ(view_.Texts().back(), kSuccessLine);
  EXPECT_EQ(view_.Lines.back().Style, TLogStyle::Bold);
  ASSERT_EQ(update->Report().Nodes().Count(), 1);
  EXPECT_EQ(update->Report().Nodes().Caption(0), "Nada a atualizar");
  EXPECT_EQ(update->Report().CurrentStage(), 2);
  EXPECT_EQ(update->BatchesInstalled(), 0);
  ExpectBaseEquals(Path("old"));
}

TEST_F(InternetUpdateTest, FiveThousandByteDocumentsComeTwoPerBatchFromLowerCaseURLs) {
  for (std::int32_t number : {3, 5, 7, 9, 11}) ServeNewerDocument(number, 5000);
  WriteLayout();
  TLighttpd server(Path("www"), false);
  ASSERT_TRUE(server.Start()) << server.Error();
  auto update = MakeUpdate(server.Url("/ATUALIZACAO"), view_);
  ASSERT_TRUE(Run(*update));
  ASSERT_FALSE(update->Failed()) << ::testing::PrintToString(view_.Texts());

  EXPECT_EQ(view_.CountOf("! Documentos a serem atualizados: 5"), 1);
  EXPECT_EQ(view_.CountOf("  Total de bytes a serem transferidos: " + std::to_string(update->TotalTransferBytes())), 1);
  EXPECT_EQ(view_.CountOf("! 2 documentos copiados"), 2);
  EXPECT_EQ(view_.CountOf("! 1 documentos copiados"), 1);
  EXPECT_EQ(update->BatchesInstalled(), 3);
  // Small batches: the tree is written once, at the end.
  EXPECT_EQ(update->TreeSaves(), 1);
  EXPECT_EQ(view_.CountOf("  URL: " + server.Url("/atualizacao/doc00000/doc00007.dat")), 1);
  EXPECT_EQ(view_.CountOf("  Arquivo Local: " + DownloadFolder() + "/Doc00007.dat"), 1);
  EXPECT_EQ(view_.CountOf("  Encerrado: " + server.Url("/atualizacao/doc00000/doc00007.dat")), 1);
  EXPECT_FALSE(fs::exists(DownloadFolder() + "/Doc00007.dat"));
  for (const std::string& line : view_.Texts()) EXPECT_THAT(line, Not(HasSubstr("ATUALIZACAO")));
  EXPECT_EQ(view_.Texts().back(), kSuccessLine);
  ExpectBaseEquals(Path("new"));
}

TEST_F(InternetUpdateTest, ATwentyThousandByteDocumentIsABatchOfItsOwn) {
  ServeNewerDocument(4, 20000);
  ServeNewerDocument(6, 5000);
  WriteLayout();
  TLighttpd server(Path("www"), false);
  ASSERT_TRUE(server.Start()) << server.Error();
  auto update = MakeUpdate(server.Url("/atualizacao"), view_);
  ASSERT_TRUE(Run(*update));
  EXPECT_EQ(view_.CountOf("! 1 documentos copiados"), 2);
  EXPECT_EQ(update->BatchesInstalled(), 2);
  ExpectBaseEquals(Path("new"));
}

// A body cut short, then a server that stops answering: the open batch is
// never installed nor merged, the batch before it is, and the next update
// finishes the work.
TEST_F(InternetUpdateTest, ABodyCutShortAndAStalledServerLoseOnlyTheOpenBatch) {
  for (std::int32_t number : {3, 5, 7, 9}) ServeNewerDocument(number, 5000);
  WriteLayout();
  for (bool stall : {false, true}) {
    SCOPED_TRACE(stall ? "stalled" : "cut short");
    TRawHttpServer server;
    const auto serve = [&server](const std::string& path, const std::string& bytes, size_t sent) {
      const std::string head = "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(bytes.size()) +
                               "\r\nConnection: close\r\n\r\n";
      server.Answer(path, {QByteArray::fromStdString(head + bytes.substr(0, sent))});
    };
    const std::string tree = ReadWholeFile(Layout() + "/tomoidxz.dat");
    serve("/atualizacao/tomoidxz.dat", tree, tree.size());
    for (std::int32_t number : {3, 5}) {
      const std::string document = ReadWholeFile(TInternetUpdate::LowerCaseURL(DocumentFileName(Layout(), number)));
      serve(TInternetUpdate::LowerCaseURL(DocumentFileName("/atualizacao", number)), document, document.size());
    }
    const std::string seventh = ReadWholeFile(Layout() + "/doc00000/doc00007.dat");
    serve("/atualizacao/doc00000/doc00007.dat", seventh, 2000);
    if (stall) server.Answer("/atualizacao/doc00000/doc00007.dat", {{}, false, true});

    const std::string treeBefore = TreeDump(Path("data"));
    collection_->LoadTree();
    TRecordingView view;
    auto update = MakeUpdate(server.Url("/atualizacao"), view);
    update->Transfer().HttpCli().SetTransferTimeout(kShortTimeoutMs);
    ASSERT_TRUE(Run(*update));
    EXPECT_TRUE(update->Failed());
    EXPECT_EQ(view.CountOf("! 2 documentos copiados"), stall ? 0 : 1) << ::testing::PrintToString(view.Texts());
    EXPECT_THAT(view.Texts(), Not(Contains(kSuccessLine)));
    EXPECT_FALSE(fs::exists(DownloadFolder() + "/Doc00007.dat"));
    ExpectBaseReadsWhole();
    // Document 7 and 9 are still the old ones, in the tree and on disk.
    EXPECT_EQ(DocumentBody(Path("data"), 7), DocumentBody(Path("old"), 7));
    EXPECT_EQ(DocumentBody(Path("data"), 9), DocumentBody(Path("old"), 9));
    EXPECT_EQ(TTOMOTree(Path("data")).FindNode(IdOf(7))->Record().DocumentDate,
              TTOMOTree(Path("old")).FindNode(IdOf(7))->Record().DocumentDate);
    if (!stall) {
      EXPECT_EQ(DocumentBody(Path("data"), 3), DocumentBody(Path("new"), 3));
      EXPECT_NE(TreeDump(Path("data")), treeBefore);
    }
  }
  UpdateAgainFromLighttpd();
}

// --- Hostile servers ----------------------------------------------------------------

// The most this test process may ever hold in memory (each test case runs in
// its own process). AddressSanitizer's shadow memory and quarantine inflate
// every figure, so there the bound is not measured.
constexpr long kMemoryBoundBytes = 200L * 1024 * 1024;
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kMemoryMeasured = false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kMemoryMeasured = false;
#else
constexpr bool kMemoryMeasured = true;
#endif
#else
constexpr bool kMemoryMeasured = true;
#endif

long PeakResidentBytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss * 1024L;
}

// One server that lies in one way per case: the update ends in an error
// with a clear message, within bounded memory, and the data folder is as it
// was; the same base then updates from an honest server.
TEST_F(InternetUpdateTest, AHostileServerEndsTheUpdateWithAnErrorAndChangesNothing) {
  ServeNewerDocument(5, 1000);
  constexpr std::int32_t kShortLines = 2'000'000;
  // The tree records a size that lets the file of short lines through.
  EditRecord(Path("new"), IdOf(5), [](TTOMORecordH& record) { record.DocumentSize = 3 * kShortLines + 100; });
  WriteLayout();
  const std::string documentPath = "/atualizacao/doc00000/doc00005.dat";
  const std::string tree = ReadWholeFile(Layout() + "/tomoidxz.dat");
  const auto ok = [](const std::string& body) {
    return QByteArray::fromStdString("HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(body.size()) +
                                     "\r\nConnection: close\r\n\r\n" + body);
  };
  std::string shortLines = "TOMO.Documento\r\n";
  for (std::int32_t i = 0; i < kShortLines; ++i) shortLines += "a\r\n";
  std::string bomb = ZlibBlock(std::string(32 * 1024 * 1024, '\n'));
  std::string lyingBomb = bomb;
  lyingBomb.replace(4, 4, Fixed32(1000));  // the block claims a small tree

  struct TCase {
    const char* Name;
    QByteArray Tree;
    TRawHttpServer::TAnswer Document;
    const char* Detail;
  };
  const std::vector<TCase> cases = {
      {"endless body", ok(tree), {"HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n", true, false, true},
       "  O arquivo recebido é maior que o esperado: a transferência foi interrompida."},
      {"huge length", ok(tree), {"HTTP/1.1 200 OK\r\nContent-Length: 10000000000\r\n\r\n"},
       "  O arquivo recebido é maior que o esperado: a transferência foi interrompida."},
      {"millions of short lines", ok(tree), {ok(shortLines)}, "Cabeçalho longo demais"},
      {"zlib bomb", ok(bomb), {ok("")}, "Arquivo de índice grande demais"},
      {"lying zlib bomb", ok(lyingBomb), {ok("")}, nullptr},
  };
  for (const TCase& hostile : cases) {
    SCOPED_TRACE(hostile.Name);
    TRawHttpServer server;
    server.Answer("/atualizacao/tomoidxz.dat", {hostile.Tree});
    server.Answer(documentPath, hostile.Document);
    collection_->LoadTree();
    TRecordingView view;
    auto update = MakeUpdate(server.Url("/atualizacao"), view);
    ASSERT_TRUE(Run(*update));
    EXPECT_TRUE(update->Failed());
    EXPECT_THAT(view.Texts(), Not(Contains(kSuccessLine)));
    if (hostile.Detail) {
      const auto& texts = view.Texts();
      const bool found = std::any_of(texts.begin(), texts.end(), [&](const std::string& line) {
        return line.find(hostile.Detail) != std::string::npos;
      });
      EXPECT_TRUE(found) << ::testing::PrintToString(texts);
    }
    // A refused transfer leaves no part behind.
    if (hostile.Document.Endless) {
      EXPECT_FALSE(fs::exists(DownloadFolder() + "/Doc00005.dat"));
    }
    ExpectBaseEquals(Path("old"));
  }
  if (kMemoryMeasured) {
    EXPECT_LT(PeakResidentBytes(), kMemoryBoundBytes);
  }
  UpdateAgainFromLighttpd();
}

// Every installed document reaches the disk, and its folder, before the tree
// that lists it: a power cut at any change of the update leaves no tree
// ahead of its documents.
TEST_F(InternetUpdateTest, APowerCutNeverLeavesTheTreeAheadOfItsDocuments) {
  for (std::int32_t number : {3, 5, 7}) ServeNewerDocument(number, 6000);
  WriteLayout();
  TLighttpd server(Path("www"), false);
  ASSERT_TRUE(server.Start()) << server.Error();
  TCutDriver driver;
  driver.Prepare = [&] {
    fs::remove_all(Path("data"));
    CopyFolder(Path("old"), Path("data"));
    fs::remove_all(DownloadFolder());
  };
  driver.Commit = [&] {
    collection_->LoadTree();
    TRecordingView view;
    auto update = MakeUpdate(server.Url("/atualizacao"), view);
    Run(*update);
  };
  driver.Check = [&](const std::string& where) {
    SCOPED_TRACE(where);
    ExpectTreeNotAheadOfDocuments(Path("data"), Path("old"), Path("new"));
  };
  driver.RunUnderCut = [&](TCutPlan& plan, const std::function<void()>& run) {
    RunUnderLxPowerCut(plan, Path("data"), run);
  };
  driver.CutBudget = 30;
  EXPECT_GT(driver.RunEveryCut(), 0);
}

TEST_F(InternetUpdateTest, ACopyThatFailsMergesNothingOfItsBatch) {
  for (std::int32_t number : {3, 5}) ServeNewerDocument(number, 1000);
  WriteLayout();
  // Whatever the user or the system does, the document cannot be written:
  // its commit's temporary name is taken by a folder.
  const std::string obstacle = DocumentFileName(Path("data"), 5) + ".tmp";
  fs::create_directories(obstacle + "/x");
  TLighttpd server(Path("www"), false);
  ASSERT_TRUE(server.Start()) << server.Error();
  auto update = MakeUpdate(server.Url("/atualizacao"), view_);
  ASSERT_TRUE(Run(*update));
  EXPECT_TRUE(update->Failed());
  EXPECT_EQ(view_.CountOf("Erro ao copiar arquivo \"" + DownloadFolder() + "/Doc00005.dat\" para \"" + obstacle +
                          "\". "),
            1)
      << ::testing::PrintToString(view_.Texts());
  EXPECT_EQ(TreeDump(Path("data")), TreeDump(Path("old")));
  ExpectBaseReadsWhole();
  fs::remove_all(obstacle);
  UpdateAgainFromLighttpd();
}

TEST_F(InternetUpdateTest, CancelDuringADownloadAndBetweenSteps) {
  for (std::int32_t number : {3, 5, 7}) ServeNewerDocument(number, 6000);
  WriteLayout();
  TLighttpd server(Path("www"), false);
  ASSERT_TRUE(server.Start()) << server.Error();

  for (const std::string& prefix : {"  Arquivo Local: " + DownloadFolder() + "/Doc00005.dat",
                                   std::string("! Documentos a serem atualizados")}) {
    SCOPED_TRACE(prefix);
    collection_->LoadTree();
    TTriggerView view;
    auto update = MakeUpdate(server.Url("/atualizacao"), view);
    view.prefix = prefix;
    view.trigger = [&update] { update->CancelOperation(); };
    ASSERT_TRUE(Run(*update));
    EXPECT_TRUE(update->Cancelled());
    EXPECT_THAT(view.Texts(), Not(Contains(kSuccessLine)));
    EXPECT_THAT(view.Texts(), Not(Contains("! 2 documentos copiados")));
    EXPECT_EQ(TreeDump(Path("data")), TreeDump(Path("old")));
    ExpectBaseReadsWhole();
  }
  UpdateAgainFromLighttpd();
}

// The server answers the first document last: the later ones are asked for
// while it is still on its way, yet the log tells each document whole and
// in the order of the list, and the batches are those of one request at a
// time.
TEST_F(InternetUpdateTest, DocumentsArrivingOutOfOrderAreLoggedAndInstalledInListOrder) {
  const std::vector<std::int32_t> numbers = {3, 5, 7, 9};
  for (std::int32_t number : numbers) ServeNewerDocument(number, 5000);
  WriteLayout();
  TRawHttpServer server;
  const auto serve = [&](const std::string& path, int delayMs) {
    const std::string bytes = ReadWholeFile(TInternetUpdate::LowerCaseURL(Layout() + path.substr(12)));
    const std::string head = "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(bytes.size()) + "\r\n\r\n";
    server.Answer(path, {QByteArray::fromStdString(head + bytes), true, false, false, delayMs});
  };
  constexpr int kLateMs = 400;
  serve("/atualizacao/tomoidxz.dat", 0);
  for (std::int32_t number : numbers) {
    serve(TInternetUpdate::LowerCaseURL(DocumentFileName("/atualizacao", number)), number == 3 ? kLateMs : 0);
  }
  auto update = MakeUpdate(server.Url("/atualizacao"), view_);
  ASSERT_TRUE(Run(*update));
  ASSERT_FALSE(update->Failed()) << ::testing::PrintToString(view_.Texts());

  // Every document was asked for before the first one was answered.
  EXPECT_EQ(server.Requests().size(), 2 + numbers.size());
  // The detail lines of the documents, each title cut to its number.
  std::vector<std::string> expected;
  for (std::int32_t number : numbers) {
    const std::string url = server.Url(TInternetUpdate::LowerCaseURL(DocumentFileName("/atualizacao", number)));
    const std::string local = DownloadFolder() + "/" + TInternetUpdate::ReceivedDocumentName(number);
    expected.insert(expected.end(), {FormatMessage("  (%.4d): ", number), "  URL: " + url,
                                     "  Arquivo Local: " + local, "  Tamanho: 4 KiB", "  Encerrado: " + url});
  }
  const std::vector<std::string> lines = view_.Texts();
  auto line = std::find(lines.begin(), lines.end(), ": Transferindo documentos...");
  ASSERT_NE(line, lines.end());
  std::vector<std::string> details;
  for (; line != lines.end(); ++line) {
    if (line->rfind("  (", 0) == 0) details.push_back(line->substr(0, 10));
    else if (line->rfind("  ", 0) == 0) details.push_back(*line);
  }
  EXPECT_EQ(details, expected);
  EXPECT_EQ(view_.CountOf("! 2 documentos copiados"), 2);
  EXPECT_EQ(update->BatchesInstalled(), 2);
  ExpectBaseEquals(Path("new"));
}

// Cancel while three bodies are half way: every request ends at once, no
// half-received file stays behind, and the base is as it was.
TEST_F(InternetUpdateTest, CancelWithRequestsInFlightLeavesNoPartialFiles) {
  const std::vector<std::int32_t> numbers = {3, 5, 7};
  for (std::int32_t number : numbers) ServeNewerDocument(number, 6000);
  WriteLayout();
  TRawHttpServer server;
  const std::string tree = ReadWholeFile(Layout() + "/tomoidxz.dat");
  server.Answer("/atualizacao/tomoidxz.dat",
                {QByteArray::fromStdString("HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(tree.size()) +
                                           "\r\n\r\n" + tree)});
  for (std::int32_t number : numbers) {
    const std::string path = TInternetUpdate::LowerCaseURL(DocumentFileName("/atualizacao", number));
    const std::string bytes = ReadWholeFile(TInternetUpdate::LowerCaseURL(DocumentFileName(Layout(), number)));
    // Half of the body, and the connection stays open.
    server.Answer(path, {QByteArray::fromStdString("HTTP/1.1 200 OK\r\nContent-Length: " +
                                                   std::to_string(bytes.size()) + "\r\n\r\n" +
                                                   bytes.substr(0, bytes.size() / 2)),
                         false});
  }
  const auto received = [this, &numbers] {
    for (std::int32_t number : numbers) {
      if (!fs::exists(DownloadFolder() + "/" + TInternetUpdate::ReceivedDocumentName(number))) return false;
    }
    return true;
  };
  auto update = MakeUpdate(server.Url("/atualizacao"), view_);
  QTimer poll;
  bool sawPartialFiles = false;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    if (!received() || update->Cancelled()) return;
    sawPartialFiles = true;
    update->CancelOperation();
  });
  poll.start(10);
  ASSERT_TRUE(Run(*update));
  EXPECT_TRUE(sawPartialFiles);
  EXPECT_TRUE(update->Cancelled());
  EXPECT_FALSE(update->Running());
  EXPECT_EQ(view_.CountOf(kCancelledLine), 1) << ::testing::PrintToString(view_.Texts());
  for (std::int32_t number : numbers) {
    EXPECT_FALSE(fs::exists(DownloadFolder() + "/" + TInternetUpdate::ReceivedDocumentName(number))) << number;
  }
  EXPECT_EQ(TreeDump(Path("data")), TreeDump(Path("old")));
  UpdateAgainFromLighttpd();
}

// --- With a word index ------------------------------------------------------------

class TQuietBuildReport : public TIndexBuildReport {
 public:
  void AddLog(TLineKind, const std::string&) override {}
  void ResetProgress(int) override {}
  void SetProgress(int) override {}
};

// Engine writes that find the disk full: every byte the word index would
// write is refused.
class TFullDiskEngineWrites : public lexdex::FileWrites {
 public:
  ssize_t Write(int, const void*, std::size_t) override {
    errno = ENOSPC;
    return -1;
  }
  std::size_t WriteStream(const void*, std::size_t, std::FILE*) override {
    errno = ENOSPC;
    return 0;
  }
};

// The update indexes each batch's documents and rebuilds the title words at
// each save of the tree. Two documents over the tree-save size come in two
// batches, each followed by a save, each renaming its entry with a word no
// other title has.
class InternetUpdateIndexTest : public InternetUpdateTest {
 protected:
  // Past the bytes after which a batch saves the tree (1 MiB).
  static constexpr std::int32_t kBatchSavingBytes = (1 << 20) + 4096;
  static constexpr std::int32_t kRenamedNumbers[] = {3, 5};
  static constexpr const char* kNewTitleWords[] = {"tarifazul", "pedagiorox"};
  static constexpr int kTitleCutBudget = 130;

  void SetUp() override {
    InternetUpdateTest::SetUp();
    index_.SetPause([](std::chrono::milliseconds) {});
    for (int i = 0; i < 2; ++i) {
      ServeNewerDocument(kRenamedNumbers[i], kBatchSavingBytes);
      EditRecord(Path("new"), IdOf(kRenamedNumbers[i]),
                 [&](TTOMORecordH& record) {
                   record.Title = std::string("Tabela ") + kNewTitleWords[i];
                   record.DocumentSize = kBatchSavingBytes;
                 });
    }
    WriteLayout();
    // The installed base's index, built once and copied in before each run.
    TWordIndex built(Path("extra-old"));
    TTOMOTree tree(Path("old"));
    TTOMODocumentFolder documents(Path("old"));
    TQuietBuildReport report;
    TIndexBuildSequence build(built, tree, documents, report);
    while (build.Step()) {
    }
    ASSERT_FALSE(built.IsOutOfDate());
  }
  void TearDown() override {
    collection_.reset();
    InternetUpdateTest::TearDown();
  }

  void PrepareRun() {
    fs::remove_all(Path("data"));
    fs::remove_all(Path("extra"));
    fs::remove_all(DownloadFolder());
    CopyFolder(Path("old"), Path("data"));
    CopyFolder(Path("extra-old"), Path("extra"));
  }
  // One update with the index, its log kept in `view`.
  void RunIndexedUpdate(const std::string& url, TRecordingView& view) {
    collection_ = std::make_unique<TInstalledCollection>([this] { return Path("data"); }, [this] { return &index_; });
    collection_->LoadTree();
    auto update = std::make_unique<TInternetUpdate>(*collection_, &index_);
    update->SetDownloadFolder(DownloadFolder());
    update->SetUpdateURL(url);
    update->SetView(&view);
    Run(*update);
  }

  // The entries whose title holds `word`: by the installed tree, and by the
  // word index's title matches.
  std::set<std::int32_t> TitledInTree(const std::string& word) {
    std::set<std::int32_t> ids;
    TTOMOTree tree(Path("data"));
    for (auto it = tree.Iterator(); !it.Eof(); it.Next()) {
      if (Win1252ToUtf8(it.Current()->Record().Title).find(word) != std::string::npos) ids.insert(it.Current()->Id());
    }
    return ids;
  }
  std::set<std::int32_t> TitledInIndex(const std::string& word) {
    std::set<std::int32_t> ids;
    const TSearchResultList found = index_.Search(Utf8ToWin1252(word));
    for (int i = 0; i < found.Count(); ++i) {
      if (found.Items(i).TitleMatch()) ids.insert(found.Items(i).DocumentId());
    }
    return ids;
  }

  TWordIndex index_{Path("extra")};
  TScriptedPrompts prompts_;
  TScopedPrompts scopedPrompts_{prompts_};
};

// Cut at any change the update, the program or the engine makes, the index
// either says it is out of date or finds every new title word on exactly the
// entries the installed tree gives it.
TEST_F(InternetUpdateIndexTest, ACutAtAnyBatchLeavesTitleWordsInStepWithTheTreeOrTheIndexMarked) {
  TLighttpd server(Path("www"), false);
  ASSERT_TRUE(server.Start()) << server.Error();
  PrepareRun();
  TRecordingView whole;
  RunIndexedUpdate(server.Url("/atualizacao"), whole);
  ASSERT_THAT(whole.Texts(), Contains(kSuccessLine)) << ::testing::PrintToString(whole.Texts());
  ASSERT_FALSE(index_.IsOutOfDate());
  for (const char* word : kNewTitleWords) {
    EXPECT_EQ(TitledInIndex(word).size(), 1u) << word;
    EXPECT_EQ(TitledInIndex(word), TitledInTree(word)) << word;
  }

  int marked = 0, renamedAndFound = 0;
  TCutDriver driver;
  driver.Prepare = [&] { PrepareRun(); };
  driver.Commit = [&] {
    TRecordingView view;
    RunIndexedUpdate(server.Url("/atualizacao"), view);
  };
  driver.Check = [&](const std::string& where) {
    collection_.reset();
    // A holder cut off leaves its record; the next program would take the
    // folder over once the record is stale.
    fs::remove(Path("extra") + "/lock.dat");
    if (index_.IsOutOfDate()) {
      ++marked;
      return;
    }
    for (const char* word : kNewTitleWords) {
      const std::set<std::int32_t> titled = TitledInTree(word);
      EXPECT_EQ(TitledInIndex(word), titled) << where << ": " << word;
      renamedAndFound += titled.empty() ? 0 : 1;
    }
  };
  driver.RunUnderCut = RunUnderLxAndEngineCut;
  // About 250 changes, most of them the documents' bytes; the few changes
  // of the title words written at the end are all met only at a stride of 2.
  driver.CutBudget = kTitleCutBudget;
  const int cuts = driver.RunEveryCut();
  EXPECT_GE(cuts, 10);
  EXPECT_GT(marked, 0);
  RecordProperty("cut_points", cuts);
  RecordProperty("renamed_and_found", renamedAndFound);
}

// A full disk under the index folder: the update still completes, the log
// says the index could not be written, and the index says it is out of date.
TEST_F(InternetUpdateIndexTest, AnIndexWriteFailureIsLoggedAndMarksTheIndexOutOfDate) {
  TLighttpd server(Path("www"), false);
  ASSERT_TRUE(server.Start()) << server.Error();
  PrepareRun();
  TFullDiskEngineWrites full;
  lexdex::SetWrites(&full);
  TRecordingView view;
  RunIndexedUpdate(server.Url("/atualizacao"), view);
  lexdex::SetWrites(nullptr);
  EXPECT_THAT(view.Texts(), Contains(kSuccessLine));
  EXPECT_EQ(view.CountOf(TUpdateInstaller::kIndexWriteFailedLine), 1) << ::testing::PrintToString(view.Texts());
  EXPECT_TRUE(index_.IsOutOfDate());
  ExpectBaseEquals(Path("new"));
}

}  // namespace
