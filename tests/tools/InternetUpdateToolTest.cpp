// `pandecta-tool make-server` and `pandecta-tool update` run as processes
// against a real lighttpd on 127.0.0.1 serving the layout (and tinyproxy
// with a password between them): round trips, batches, the log, and servers
// that answer badly. After every failure the base reads whole and the next
// update brings it to the server's state.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "HttpTestServers.h"
#include "PackageTestSupport.h"
#include "TempFolder.h"
#include "ToolProcess.h"

namespace fs = std::filesystem;

namespace {

using ::testing::HasSubstr;
using ::testing::Not;

constexpr int kBatchLimitBytes = 8192;
constexpr char kProxyUser[] = "escritorio";
constexpr char kProxyPassword[] = "s3nha-forte";
constexpr char kSuccessLine[] = "!! Atualização concluída com êxito.";

int LineCount(const std::string& text) {
  int lines = 0;
  for (char c : text) lines += c == '\n';
  return lines;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// Letters that do not compress much, so documents have sizes of their own.
std::string RandomLetters(size_t count, unsigned seed) {
  std::mt19937 random(seed);
  std::string letters(count, ' ');
  for (char& c : letters) c = static_cast<char>('a' + random() % 26);
  return letters;
}

std::string ServerDocument(const std::string& layout, std::int32_t number) {
  char name[64];
  std::snprintf(name, sizeof name, "doc%05d/doc%05d.dat", number / 100 * 100, number);
  return layout + "/" + name;
}

class InternetUpdateToolTest : public ::testing::Test {
 protected:
  void SetUp() override {
    server_ = std::make_unique<TLighttpd>(Path("www"), false);
    fs::create_directories(Path("www"));
    ASSERT_TRUE(server_->Start()) << server_->Error();
    Configure("DataFolder", Path("data"));
    Configure("ExtraFolder", Path("extra"));
    Configure("DownloadFolder", Path("download"));
    // Upper case on purpose: the requests go out in lower case.
    Configure("UpdateURL", server_->Url("/Atualizacao"));
  }

  std::string Path(const std::string& name) const { return folder_.File(name); }
  std::string Layout() const { return Path("www") + "/atualizacao"; }
  std::string Settings() const { return "PANDECTA_SETTINGS_FILE=" + Quoted(Path("settings.ini")); }

  void Configure(const std::string& name, const std::string& value) {
    ASSERT_EQ(RunTool("config " + name + " " + Quoted(value), true, Settings()).ExitCode, 0);
  }

  TRun Update(const std::string& options = {}) { return RunTool("update " + options, true, Settings()); }
  TRun Tree(const std::string& data) { return RunTool("tree " + Quoted(data), false); }

  TRun MakeServer(const std::string& base) {
    return RunTool("make-server " + Quoted(base) + " " + Quoted(Layout()));
  }

  // OLD generated; NEW with three documents replaced, one entry added; the
  // installed base a copy of OLD with its word index; the server NEW's.
  void PrepareBases() {
    GenerateSmallBase(Path("old"));
    CopyFolder(Path("old"), Path("new"));
    const auto entries = DocumentEntries(Path("old"));
    auto entry = entries.begin();
    for (int n = 0; n < 3; ++n, ++entry) ReplaceDocument(Path("new"), entry->first, "zebrafish quimera", NewerDate());
    AddDocumentEntry(Path("new"), "Portaria ornitorrinco", "capivara", NewerDate());
    CopyFolder(Path("old"), Path("data"));
    ASSERT_EQ(RunTool("index " + Quoted(Path("data")) + " " + Quoted(Path("extra"))).ExitCode, 0);
    const TRun made = MakeServer(Path("new"));
    ASSERT_EQ(made.ExitCode, 0) << made.Output;
  }

  void ExpectBaseEquals(const std::string& expected) {
    EXPECT_EQ(Tree(Path("data")).Output, Tree(expected).Output);
    for (const auto& [id, number] : DocumentEntries(expected)) {
      EXPECT_EQ(DocumentBody(Path("data"), number), DocumentBody(expected, number)) << "document " << number;
    }
  }

  // The tree loads and every entry it lists with a document reads whole.
  void ExpectBaseReadsWhole() {
    ASSERT_EQ(Tree(Path("data")).ExitCode, 0);
    for (const auto& [id, number] : DocumentEntries(Path("data"))) {
      EXPECT_FALSE(DocumentBody(Path("data"), number).empty()) << "document " << number;
    }
  }

  int Finds(const std::string& word) {
    return LineCount(RunTool("search " + Quoted(Path("extra")) + " " + word, false).Output);
  }

  TempFolder folder_;
  std::unique_ptr<TLighttpd> server_;
};

TEST_F(InternetUpdateToolTest, MakeServerThenUpdateBringsTheBaseToTheServersState) {
  PrepareBases();
  EXPECT_TRUE(fs::exists(Layout() + "/tomoidxz.dat"));
  for (const auto& [id, number] : DocumentEntries(Path("new"))) {
    EXPECT_TRUE(fs::exists(ServerDocument(Layout(), number))) << number;
  }
  const TRun updated = Update();
  ASSERT_EQ(updated.ExitCode, 0) << updated.Output;
  EXPECT_THAT(updated.Output, HasSubstr(": Verificando tamanho do arquivo de índice..."));
  EXPECT_THAT(updated.Output, HasSubstr("/atualizacao/tomoidxz.dat"));
  EXPECT_THAT(updated.Output, Not(HasSubstr("/Atualizacao/")));
  EXPECT_THAT(updated.Output, HasSubstr("! Documentos a serem atualizados: 4"));
  EXPECT_THAT(updated.Output, HasSubstr("  Total de bytes a serem transferidos: "));
  EXPECT_THAT(updated.Output, HasSubstr(kSuccessLine));
  ExpectBaseEquals(Path("new"));
  EXPECT_EQ(Finds("zebrafish"), 3);
  EXPECT_EQ(Finds("capivara"), 1);
  EXPECT_EQ(Finds("ornitorrinco"), 1);
  // Received documents are deleted once installed.
  for (const auto& entry : fs::directory_iterator(Path("download"))) {
    EXPECT_EQ(entry.path().filename().string().rfind("Doc", 0), std::string::npos) << entry.path();
  }

  // Again: nothing to do, still a success.
  const TRun again = Update();
  EXPECT_EQ(again.ExitCode, 0) << again.Output;
  EXPECT_THAT(again.Output, HasSubstr("! Nada a atualizar."));
  EXPECT_THAT(again.Output, HasSubstr(kSuccessLine));
}

TEST_F(InternetUpdateToolTest, DocumentsComeInBatchesEndingPastTheByteLimit) {
  GenerateSmallBase(Path("old"));
  CopyFolder(Path("old"), Path("new"));
  for (const auto& [id, number] : DocumentEntries(Path("old"))) {
    ReplaceDocument(Path("new"), id, "lontra " + RandomLetters(static_cast<size_t>(number % 5 + 1) * 2500, number),
                    NewerDate());
  }
  CopyFolder(Path("old"), Path("data"));
  ASSERT_EQ(MakeServer(Path("new")).ExitCode, 0);
  const TRun updated = Update();
  ASSERT_EQ(updated.ExitCode, 0) << updated.Output;
  ExpectBaseEquals(Path("new"));

  // Each batch: the documents requested, then "! N documentos copiados".
  std::vector<std::vector<std::int32_t>> batches(1);
  for (const std::string& line : Lines(updated.Output)) {
    std::int32_t number = 0;
    if (std::sscanf(line.c_str(), "  (%d):", &number) == 1) batches.back().push_back(number);
    if (line.find(" documentos copiados") != std::string::npos) batches.emplace_back();
  }
  batches.pop_back();
  ASSERT_GT(batches.size(), 1u);
  for (size_t b = 0; b < batches.size(); ++b) {
    std::int64_t bytes = 0;
    for (size_t d = 0; d < batches[b].size(); ++d) {
      // A batch goes on while it holds no more than the limit.
      EXPECT_LE(bytes, kBatchLimitBytes) << "batch " << b;
      bytes += static_cast<std::int64_t>(fs::file_size(ServerDocument(Layout(), batches[b][d])));
    }
    if (b + 1 < batches.size()) {
      EXPECT_GT(bytes, kBatchLimitBytes) << "batch " << b;
    }
  }
}

TEST_F(InternetUpdateToolTest, OnlyLaterChangedDatesMergeWithoutDownloading) {
  GenerateSmallBase(Path("old"));
  CopyFolder(Path("old"), Path("new"));
  ChangeEntry(Path("new"), DocumentEntries(Path("old")).begin()->first, NewerDate(), "Título revisto");
  CopyFolder(Path("old"), Path("data"));
  ASSERT_EQ(MakeServer(Path("new")).ExitCode, 0);
  const TRun updated = Update();
  ASSERT_EQ(updated.ExitCode, 0) << updated.Output;
  EXPECT_THAT(updated.Output, HasSubstr("! Documentos a serem atualizados: 0"));
  EXPECT_THAT(updated.Output, Not(HasSubstr(": Transferindo documentos...")));
  // One pass of the install merges them all and saves the tree once.
  EXPECT_EQ(updated.Output.find("! Índice atualizado."), updated.Output.rfind("! Índice atualizado."));
  EXPECT_NE(updated.Output.find("! Índice atualizado."), std::string::npos);
  ExpectBaseEquals(Path("new"));
}

TEST_F(InternetUpdateToolTest, ThroughTinyproxyWithAPassword) {
  PrepareBases();
  TTinyproxy proxy(kProxyUser, kProxyPassword);
  ASSERT_TRUE(proxy.Start()) << proxy.Error();
  Configure("ProxyServer", "127.0.0.1");
  Configure("ProxyPort", std::to_string(proxy.Port()));
  Configure("ProxyUserName", kProxyUser);
  Configure("ProxyPassword", "errada");
  const TRun refused = Update();
  EXPECT_EQ(refused.ExitCode, 1) << refused.Output;
  EXPECT_THAT(refused.Output, HasSubstr("# Erro no download!"));
  EXPECT_EQ(Tree(Path("data")).Output, Tree(Path("old")).Output);

  Configure("ProxyPassword", kProxyPassword);
  const TRun updated = Update();
  ASSERT_EQ(updated.ExitCode, 0) << updated.Output;
  ExpectBaseEquals(Path("new"));
  EXPECT_EQ(Finds("zebrafish"), 3);
}

TEST_F(InternetUpdateToolTest, AMissingDocumentStopsTheUpdateAndTheNextOneFinishesIt) {
  PrepareBases();
  const std::int32_t missing = DocumentEntries(Path("new")).rbegin()->second;
  fs::remove(ServerDocument(Layout(), missing));
  const TRun failed = Update();
  EXPECT_EQ(failed.ExitCode, 1) << failed.Output;
  EXPECT_THAT(failed.Output, HasSubstr("# Erro no download! Código do erro: 001.404"));
  EXPECT_THAT(failed.Output, Not(HasSubstr(kSuccessLine)));
  ExpectBaseReadsWhole();

  ASSERT_EQ(MakeServer(Path("new")).ExitCode, 0);
  const TRun again = Update();
  ASSERT_EQ(again.ExitCode, 0) << again.Output;
  ExpectBaseEquals(Path("new"));
}

TEST_F(InternetUpdateToolTest, ADocumentThatDoesNotParseIsNeverInstalled) {
  PrepareBases();
  const auto replaced = DocumentEntries(Path("new")).begin()->second;  // a copy
  const std::string before = DocumentBody(Path("data"), replaced);
  const std::string whole = ReadWholeFile(ServerDocument(Layout(), replaced));
  for (const std::string& hostile : {std::string("<html>404</html>"), whole.substr(0, whole.size() / 2),
                                     std::string("TOMO.Documento\nCodificação: ZLib\n\n\x01\x02\x03\x04")}) {
    WriteWholeFile(ServerDocument(Layout(), replaced), hostile);
    const TRun failed = Update();
    EXPECT_EQ(failed.ExitCode, 1) << failed.Output;
    EXPECT_THAT(failed.Output, HasSubstr("# Exceção"));
    EXPECT_EQ(DocumentBody(Path("data"), replaced), before);
    ExpectBaseReadsWhole();
  }
  ASSERT_EQ(MakeServer(Path("new")).ExitCode, 0);
  ASSERT_EQ(Update().ExitCode, 0);
  ExpectBaseEquals(Path("new"));
}

TEST_F(InternetUpdateToolTest, ACorruptOrMissingTreeFileChangesNothing) {
  PrepareBases();
  const auto before = Snapshot(Path("data"));
  const std::string whole = ReadWholeFile(Layout() + "/tomoidxz.dat");
  for (const std::string& hostile : {std::string("lixo"), whole.substr(0, whole.size() / 2), std::string(),
                                     std::string("\xff\xff\xff\x7f\xff\xff\xff\x7f", 8)}) {
    WriteWholeFile(Layout() + "/tomoidxz.dat", hostile);
    const TRun failed = Update();
    EXPECT_EQ(failed.ExitCode, 1) << failed.Output;
    EXPECT_THAT(failed.Output, Not(HasSubstr(kSuccessLine)));
    EXPECT_EQ(Snapshot(Path("data")), before);
  }
  fs::remove(Layout() + "/tomoidxz.dat");
  const TRun missing = Update();
  EXPECT_EQ(missing.ExitCode, 1);
  EXPECT_THAT(missing.Output, Not(HasSubstr(kSuccessLine)));
  EXPECT_EQ(Snapshot(Path("data")), before);
}

// A crash after any line of the log: the base still loads and reads whole,
// and the next update brings it to the server's state.
TEST_F(InternetUpdateToolTest, KilledAtEveryLogLineThenUpdatedAgain) {
  PrepareBases();
  CopyFolder(Path("data"), Path("data-pristine"));
  CopyFolder(Path("extra"), Path("extra-pristine"));
  const TRun full = Update();
  ASSERT_EQ(full.ExitCode, 0) << full.Output;
  const int lines = LineCount(full.Output);
  ASSERT_GT(lines, 20);
  for (int k = 1; k < lines; ++k) {
    SCOPED_TRACE("killed after line " + std::to_string(k));
    fs::remove_all(Path("data"));
    fs::remove_all(Path("extra"));
    CopyFolder(Path("data-pristine"), Path("data"));
    CopyFolder(Path("extra-pristine"), Path("extra"));
    const TRun killed = RunTool("update", true, Settings() + " PANDECTA_TEST_KILL_AFTER_LINE=" + std::to_string(k));
    ASSERT_EQ(killed.ExitCode, -1) << killed.Output;
    ExpectBaseReadsWhole();
    // The killed process's hold on the word index lasts until its lock
    // record goes stale: the update marks the index for a rebuild meanwhile.
    const TRun again = Update();
    ASSERT_EQ(again.ExitCode, 0) << again.Output;
    ExpectBaseEquals(Path("new"));
  }
}

TEST_F(InternetUpdateToolTest, WrongArgumentsAndAStoppedServerFailClearly) {
  EXPECT_THAT(RunTool("make-server so-um").Output, HasSubstr("uso: pandecta-tool make-server"));
  EXPECT_EQ(RunTool("make-server " + Quoted(Path("nada")) + " " + Quoted(Path("out"))).ExitCode, 1);
  EXPECT_THAT(Update("--porta 1").Output, HasSubstr("uso: pandecta-tool update"));
  PrepareBases();
  const TRun stopped = Update("--url " + Quoted("http://127.0.0.1:" + std::to_string(FreeLocalPort()) + "/x"));
  EXPECT_EQ(stopped.ExitCode, 1) << stopped.Output;
  EXPECT_THAT(stopped.Output, HasSubstr("# Erro no download!"));
  EXPECT_EQ(Tree(Path("data")).Output, Tree(Path("old")).Output);
}

}  // namespace
