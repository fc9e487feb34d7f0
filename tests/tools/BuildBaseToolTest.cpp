// Runs `pandecta-tool build-base` itself on the demo collection and on broken
// sources, and reads the bases it writes through the program's own classes.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "BuildBaseManifest.h"
#include "DocumentFileName.h"
#include "LxCodePage.h"
#include "RichTextPlainText.h"
#include "TOMODocumentBody.h"
#include "TOMODocumentFile.h"
#include "TOMOTree.h"
#include "TempFolder.h"
#include "ToolProcess.h"

namespace fs = std::filesystem;

namespace {

using ::testing::HasSubstr;

TRun BuildBase(const fs::path& source, const fs::path& data) {
  return RunTool("build-base " + Quoted(source.string()) + " " + Quoted(data.string()));
}

const std::string kRtf = "{\\rtf1\\ansi\\ansicpg1252 \\pard Texto de teste com um link.\\par}";

// A small good source; tests break one thing in it.
void WriteSource(const fs::path& folder, const std::string& manifest) {
  fs::create_directories(folder / "A");
  WriteWholeFile(folder / "A" / "um.rtf", kRtf);
  WriteWholeFile(folder / "manifest.txt", manifest);
}

const std::string kGoodManifest =
    "root | Raiz |\nfolder A | Pasta |\ntext A/um.rtf | Um | Resumo | 01/02/2023\nlink v2 \"link\" -> A\n";

// The whole body of a document of the base, read back through its file.
TTOMODocumentBody ReadBody(const fs::path& data, std::int32_t number) {
  TTOMODocumentFile document(DocumentFileName(data.string(), number), false);
  TTOMODocumentBody body = ReadDocumentBody(document.OpenRead());
  document.CloseDocument();
  return body;
}

// A source file as the base stores it: texts lose the line breaks after
// their closing brace, pictures stay byte for byte.
std::string StoredContent(const TManifestEntry& entry) {
  std::string bytes = ReadWholeFile(fs::path(PANDECTA_DEMO_SOURCE) / entry.Path);
  if (entry.Kind != TManifestKind::Text) return bytes;
  while (!bytes.empty() && static_cast<unsigned char>(bytes.back()) <= ' ') bytes.pop_back();
  return bytes;
}

TEST(BuildBaseTool, BuildsTheDemoCollectionIntoAReadableBase) {
  TempFolder work;
  const fs::path data = work.Path() / "Dados";
  const TRun run = BuildBase(PANDECTA_DEMO_SOURCE, data);
  ASSERT_EQ(run.ExitCode, 0) << run.Output;
  EXPECT_THAT(run.Output, HasSubstr("Base criada em"));

  const TManifest manifest = ReadManifest(fs::path(PANDECTA_DEMO_SOURCE) / "manifest.txt");
  const TTOMOTree tree(data.string());
  ASSERT_NE(tree.Root(), nullptr);
  EXPECT_EQ(tree.Root()->Record().Title, manifest.RootTitle);
  size_t texts = 0, pictures = 0, links = 0;
  for (size_t i = 0; i < manifest.Entries.size(); ++i) {
    const TManifestEntry& entry = manifest.Entries[i];
    const TTOMONode* node = tree.FindNode(static_cast<std::int32_t>(i) + 1);
    ASSERT_NE(node, nullptr) << entry.Path;
    EXPECT_EQ(node->Record().Title, entry.Title);
    EXPECT_EQ(node->Level(), 1 + static_cast<int>(std::count(entry.Path.begin(), entry.Path.end(), '/')));
    if (!entry.HasDocument()) continue;
    EXPECT_GT(node->Record().DocumentSize, 0);
    EXPECT_EQ(node->Record().PublishedDate, entry.Date);

    const TTOMODocumentBody body = ReadBody(data, node->Record().DocumentNumber);
    EXPECT_TRUE(body.Content == StoredContent(entry)) << entry.Path;  // no dump of picture bytes
    if (entry.Kind == TManifestKind::Bitmap) {
      ++pictures;
      EXPECT_TRUE(body.Hyperlinks.empty());
      continue;
    }
    ++texts;
    ASSERT_EQ(body.Hyperlinks.size(), entry.Links.size()) << entry.Path;
    const std::string plain = RtfToPlainText(body.Content);
    for (size_t k = 0; k < entry.Links.size(); ++k) {
      ++links;
      const TTOMOHyperlinkRecord& link = body.Hyperlinks[k].Record;
      EXPECT_EQ(link.Length, static_cast<std::int32_t>(entry.Links[k].Anchor.size()));
      if (entry.Links[k].IsWebAddress()) {
        EXPECT_EQ(link.URL, entry.Links[k].Target);
      } else {
        ASSERT_NE(tree.FindNode(link.Target), nullptr) << entry.Links[k].Target;
        EXPECT_EQ(link.Target, manifest.FindEntry(entry.Links[k].Target) + 1);
      }
      EXPECT_NE(plain.find(entry.Links[k].Anchor), std::string::npos);
    }
  }
  EXPECT_GE(texts, 40u);
  EXPECT_GE(pictures, 2u);
  EXPECT_GT(links, 20u);
}

TEST(BuildBaseTool, DemoLinksOfBothVersionsLandOnTheirWords) {
  TempFolder work;
  const fs::path data = work.Path() / "Dados";
  ASSERT_EQ(BuildBase(PANDECTA_DEMO_SOURCE, data).ExitCode, 0);
  const TManifest manifest = ReadManifest(fs::path(PANDECTA_DEMO_SOURCE) / "manifest.txt");
  const TTOMOTree tree(data.string());
  bool sawV1 = false, sawV2 = false, sawAddress = false;
  for (size_t i = 0; i < manifest.Entries.size(); ++i) {
    const TManifestEntry& entry = manifest.Entries[i];
    if (entry.Links.empty()) continue;
    const TTOMODocumentBody body =
        ReadBody(data, tree.FindNode(static_cast<std::int32_t>(i) + 1)->Record().DocumentNumber);
    // Positions as the view counts them: a line break is one position.
    std::string view = RtfToPlainText(body.Content);
    std::vector<size_t> lineStarts{0};
    for (size_t at; (at = view.find("\r\n")) != std::string::npos;) {
      view.erase(at, 1);
      view[at] = '\n';
    }
    for (size_t k = 0; k < view.size(); ++k) {
      if (view[k] == '\n') lineStarts.push_back(k + 1);
    }
    for (size_t k = 0; k < entry.Links.size(); ++k) {
      const TTOMOHyperlinkRecord& link = body.Hyperlinks[k].Record;
      EXPECT_EQ(body.Hyperlinks[k].Version1, entry.Links[k].Version == TLinkVersion::V1);
      size_t position = static_cast<size_t>(link.Position);
      if (entry.Links[k].Version == TLinkVersion::V1) {
        sawV1 = true;
        ASSERT_LT(static_cast<size_t>(link.Line), lineStarts.size());
        position += lineStarts[static_cast<size_t>(link.Line)];
      } else {
        sawV2 = true;
      }
      sawAddress = sawAddress || !link.URL.empty();
      EXPECT_EQ(view.substr(position, static_cast<size_t>(link.Length)), entry.Links[k].Anchor)
          << entry.Path << " link " << k;
    }
  }
  EXPECT_TRUE(sawV1);
  EXPECT_TRUE(sawV2);
  EXPECT_TRUE(sawAddress);
}

TEST(BuildBaseTool, ReplacesAnOldBaseWhole) {
  TempFolder work;
  const fs::path source = work.Path() / "fonte";
  const fs::path data = work.Path() / "Dados";
  WriteSource(source, kGoodManifest);
  ASSERT_EQ(BuildBase(source, data).ExitCode, 0);
  WriteWholeFile(data / "Doc00000" / "Doc00099.dat", "sobra");
  fs::create_directories(work.Path() / "Dados.novo");  // left by an interrupted build
  const TRun run = BuildBase(source, data);
  ASSERT_EQ(run.ExitCode, 0) << run.Output;
  EXPECT_FALSE(fs::exists(data / "Doc00000" / "Doc00099.dat"));
  EXPECT_FALSE(fs::exists(work.Path() / "Dados.novo"));
  EXPECT_FALSE(fs::exists(work.Path() / "Dados.antigo"));
  EXPECT_EQ(TTOMOTree(data.string()).FindNode(2)->Record().Title, "Um");
}

// A broken source fails with the file and line named, and leaves the old base as it was.
void ExpectRejected(const std::string& manifest, const std::string& message,
                    void (*breakSource)(const fs::path&) = nullptr) {
  TempFolder work;
  const fs::path source = work.Path() / "fonte";
  const fs::path data = work.Path() / "Dados";
  WriteSource(source, kGoodManifest);
  ASSERT_EQ(BuildBase(source, data).ExitCode, 0);
  const std::string index = ReadWholeFile(data / "TOMOIdx.dat");
  WriteWholeFile(source / "manifest.txt", manifest);
  if (breakSource) breakSource(source);

  const TRun run = BuildBase(source, data);
  EXPECT_EQ(run.ExitCode, 1);
  EXPECT_THAT(run.Output, HasSubstr(message));
  EXPECT_EQ(ReadWholeFile(data / "TOMOIdx.dat"), index);
  EXPECT_FALSE(fs::exists(work.Path() / "Dados.novo"));
}

TEST(BuildBaseTool, ABrokenManifestLineIsNamedAndTheOldBaseStays) {
  ExpectRejected("folder A | Pasta |\ntext A/um.rtf | Um | Resumo | 32/01/2023\n",
                 "manifest.txt, linha 2: data inválida '32/01/2023'");
}

TEST(BuildBaseTool, ALinkToAnUnknownEntryIsNamedAndTheOldBaseStays) {
  ExpectRejected("folder A | Pasta |\ntext A/um.rtf | Um | | 01/02/2023\nlink v2 \"link\" -> B/x.rtf\n",
                 "manifest.txt, linha 3: destino de link desconhecido 'B/x.rtf'");
}

TEST(BuildBaseTool, AMissingFileIsNamedAndTheOldBaseStays) {
  ExpectRejected(kGoodManifest, "manifest.txt, linha 3: arquivo não encontrado: ",
                 [](const fs::path& source) { fs::remove(source / "A" / "um.rtf"); });
}

TEST(BuildBaseTool, AManifestWithoutItsRootIsRefusedAndTheOldBaseStays) {
  ExpectRejected("folder A | Pasta |\ntext A/um.rtf | Um | Resumo | 01/02/2023\n", "falta a raiz");
}

TEST(BuildBaseTool, AHostileManifestFailsCleanly) {
  using namespace std::string_literals;
  ExpectRejected("folder ../../etc | \xff\xfe\0 |\n"s, "manifest.txt, linha 1: ");
}

TEST(BuildBaseTool, AMissingManifestOrSourceIsNamed) {
  TempFolder work;
  const TRun noSource = BuildBase(work.Path() / "nada", work.Path() / "Dados");
  EXPECT_EQ(noSource.ExitCode, 1);
  EXPECT_THAT(noSource.Output, HasSubstr("Pasta de origem não encontrada: "));
  const TRun noManifest = BuildBase(work.Path(), work.Path() / "Dados");
  EXPECT_EQ(noManifest.ExitCode, 1);
  EXPECT_THAT(noManifest.Output, HasSubstr("Manifesto não encontrado: "));
  EXPECT_FALSE(fs::exists(work.Path() / "Dados"));
}

TEST(BuildBaseTool, RefusesToReplaceAFolderThatIsNotABase) {
  TempFolder work;
  const fs::path source = work.Path() / "fonte";
  const fs::path data = work.Path() / "Documentos";
  WriteSource(source, kGoodManifest);
  fs::create_directories(data);
  WriteWholeFile(data / "carta.txt", "importante");
  const TRun run = BuildBase(source, data);
  EXPECT_EQ(run.ExitCode, 1);
  EXPECT_THAT(run.Output, HasSubstr("não está vazia e não é uma base de documentos"));
  EXPECT_EQ(ReadWholeFile(data / "carta.txt"), "importante");
}

TEST(BuildBaseTool, WrongArgumentsShowTheUsage) {
  const TRun run = RunTool("build-base somente-um");
  EXPECT_EQ(run.ExitCode, 1);
  EXPECT_THAT(run.Output, HasSubstr("uso: pandecta-tool build-base SRC DATA"));
}

}  // namespace
