#include "BuildBasePlan.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "BuildBaseError.h"
#include "LxCodePage.h"
#include "RichTextPlainText.h"
#include "TempFolder.h"

namespace {

using ::testing::HasSubstr;

// Two paragraphs and a table, as a word processor writes them.
const std::string kRtf =
    "{\\rtf1\\ansi\\ansicpg1252{\\fonttbl{\\f0 Arial;}}\r\n"
    "\\pard\\plain\\f0 Decreto n\\'ba 7\\par\r\n"
    "\\pard\\plain Ver a {\\b Lei n\\'ba 10} e o portal.\\par\r\n"
    "\\trowd\\cellx3000\\cellx6000\\pard\\intbl Item\\cell Al\\'edquota\\cell\\row\r\n"
    "\\pard\\plain Fim da tabela.\\par\r\n"
    "}\r\n\r\n";

// A sound BMP of one 24-bit pixel: file header, information header, one row.
std::string TinyBitmap() {
  std::string bmp = "BM";
  auto put32 = [&](std::uint32_t v) { for (int i = 0; i < 4; ++i) bmp.push_back(static_cast<char>(v >> (8 * i))); };
  auto put16 = [&](std::uint16_t v) { for (int i = 0; i < 2; ++i) bmp.push_back(static_cast<char>(v >> (8 * i))); };
  put32(58), put32(0), put32(54);                  // file size, reserved, pixel offset
  put32(40), put32(1), put32(1), put16(1), put16(24);  // header size, width, height, planes, depth
  put32(0), put32(4), put32(0), put32(0), put32(0), put32(0);
  bmp.append(4, '\0');
  return bmp;
}

// The same with one header field replaced (offset, 32-bit little-endian value).
std::string BitmapWith(std::size_t at, std::uint32_t value) {
  std::string bmp = TinyBitmap();
  for (int i = 0; i < 4; ++i) bmp[at + i] = static_cast<char>(value >> (8 * i));
  return bmp;
}

class BuildBasePlanTest : public ::testing::Test {
 protected:
  void Write(const std::string& relative, const std::string& bytes) {
    std::filesystem::create_directories((source_.Path() / relative).parent_path());
    WriteWholeFile(source_.Path() / relative, bytes);
  }

  TBasePlan Plan(const std::string& manifestText) {
    return PlanBase(ParseManifest(manifestText, "manifest.txt"), source_.Path().string());
  }

  std::string ErrorOf(const std::string& manifestText) {
    try {
      Plan(manifestText);
    } catch (const EBuildBaseError& error) {
      return error.Message();
    }
    return "";
  }

  TempFolder source_;
};

TEST(BuildBaseLinkAt, CountsALineBreakAsOnePositionForV2) {
  const std::string text = "ab\r\ncd efg";
  const TTOMOHyperlinkRecord v2 = LinkAt(text, 7, TLinkVersion::V2);
  EXPECT_EQ(v2.Line, 0);
  EXPECT_EQ(v2.Position, 6);
  const TTOMOHyperlinkRecord v1 = LinkAt(text, 7, TLinkVersion::V1);
  EXPECT_EQ(v1.Line, 1);
  EXPECT_EQ(v1.Position, 3);
}

TEST(BuildBaseLinkAt, TheFirstLineStartsAtZero) {
  EXPECT_EQ(LinkAt("abc", 1, TLinkVersion::V1).Line, 0);
  EXPECT_EQ(LinkAt("abc", 1, TLinkVersion::V1).Position, 1);
  const TTOMOHyperlinkRecord third = LinkAt("a\r\nb\r\ncd", 7, TLinkVersion::V1);
  EXPECT_EQ(third.Line, 2);
  EXPECT_EQ(third.Position, 1);
  EXPECT_EQ(LinkAt("a\r\nb\r\ncd", 7, TLinkVersion::V2).Position, 5);
}

TEST_F(BuildBasePlanTest, NumbersEntriesInManifestOrderUnderTheirFolders) {
  Write("A/um.rtf", kRtf);
  Write("A/dois.bmp", TinyBitmap());
  const TBasePlan plan = Plan(
      "root | Raiz | Tudo\n"
      "folder A | Pasta A |\n"
      "text A/um.rtf | Um | R1 | 02/03/2021\n"
      "bitmap A/dois.bmp | Dois | R2 | 05/06/2022\n"
      "folder B | Pasta B |\n");
  ASSERT_EQ(plan.Records.size(), 5u);
  EXPECT_EQ(plan.Records[0].Id, 0);
  EXPECT_EQ(plan.Records[0].ParentId, -1);
  EXPECT_EQ(plan.Records[0].Title, "Raiz");
  EXPECT_EQ(plan.Records[2].Id, 2);
  EXPECT_EQ(plan.Records[2].ParentId, 1);
  EXPECT_EQ(plan.Records[2].Kind, kKindRichText);
  EXPECT_EQ(plan.Records[2].DocumentNumber, 1);
  EXPECT_EQ(plan.Records[2].PublishedDate, EncodeDate(2021, 3, 2));
  EXPECT_EQ(plan.Records[2].DocumentDate, EncodeDate(2021, 3, 2));
  EXPECT_EQ(plan.Records[3].Kind, kKindBitmap);
  EXPECT_EQ(plan.Records[3].DocumentNumber, 2);
  EXPECT_EQ(plan.Records[4].ParentId, 0);
  EXPECT_EQ(plan.Records[4].DocumentNumber, 0);
  ASSERT_EQ(plan.Documents.size(), 2u);
  EXPECT_EQ(plan.Documents[1].EntryId, 3);
  EXPECT_EQ(plan.Documents[1].Content, TinyBitmap());
}

TEST_F(BuildBasePlanTest, AFolderChangedWhenItsLatestDocumentDid) {
  Write("A/B/a.rtf", kRtf);
  Write("A/b.rtf", kRtf);
  const TBasePlan plan = Plan(
      "folder A | A |\nfolder A/B | B |\n"
      "text A/B/a.rtf | a | | 02/03/2021\ntext A/b.rtf | b | | 01/01/2020\n"
      "folder C | vazia |\n");
  EXPECT_EQ(plan.Records[0].Changed, EncodeDate(2021, 3, 2));
  EXPECT_EQ(plan.Records[1].Changed, EncodeDate(2021, 3, 2));
  EXPECT_EQ(plan.Records[2].Changed, EncodeDate(2021, 3, 2));
  EXPECT_EQ(plan.Records[5].Changed, 0);
}

TEST_F(BuildBasePlanTest, DropsTheLineBreaksAfterTheRtfSoTheLinkSectionFollowsItsLastLine) {
  Write("a.rtf", kRtf);
  const TBasePlan plan = Plan("text a.rtf | A | | 01/01/2024\n");
  EXPECT_EQ(plan.Documents[0].Content.back(), '}');
}

TEST_F(BuildBasePlanTest, PlacesLinksOnTheFirstOccurrenceOfTheirWordsInThePlainText) {
  Write("a.rtf", kRtf);
  const TBasePlan plan = Plan(
      "text a.rtf | A | | 01/01/2024\n"
      "link v2 \"Lei nº 10\" -> a.rtf\n"
      "link v1 \"portal\" -> https://www.sefaz.example/\n"
      "link v2 \"Alíquota\" -> a.rtf\n");
  const std::string plain = RtfToPlainText(plan.Documents[0].Content);
  const auto& links = plan.Documents[0].Links;
  ASSERT_EQ(links.size(), 3u);

  // "Decreto nº 7" CR LF "Ver a Lei nº 10 e o portal." CR LF ...
  EXPECT_EQ(links[0].Version, TLinkVersion::V2);
  EXPECT_EQ(links[0].Record.Position, 13 + 6);
  EXPECT_EQ(links[0].Record.Length, 9);
  EXPECT_EQ(links[0].Record.Target, 1);
  EXPECT_EQ(links[0].Record.URL, "");

  EXPECT_EQ(links[1].Version, TLinkVersion::V1);
  EXPECT_EQ(links[1].Record.Line, 1);
  EXPECT_EQ(links[1].Record.Position, 20);
  EXPECT_EQ(links[1].Record.Target, 0);
  EXPECT_EQ(links[1].Record.URL, "https://www.sefaz.example/");

  // Whatever the plain text makes of a table, the link sits on its words.
  const size_t index = plain.find(Utf8ToWin1252("Alíquota"));
  ASSERT_NE(index, std::string::npos);
  EXPECT_EQ(links[2].Record.Position, LinkAt(plain, index, TLinkVersion::V2).Position);
}

TEST_F(BuildBasePlanTest, AnAnchorMissingFromTheTextNamesTheLinkLine) {
  Write("a.rtf", kRtf);
  EXPECT_EQ(ErrorOf("text a.rtf | A | | 01/01/2024\n\nlink v2 \"Lei nº 99\" -> a.rtf\n"),
            "manifest.txt, linha 3: o trecho \"Lei nº 99\" não aparece no texto de a.rtf");
}

TEST_F(BuildBasePlanTest, AnAnchorIsMatchedAsWrittenNotAcrossFormatting) {
  // "Decreto nº 7" is in the text; the RTF control words around it are not.
  Write("a.rtf", kRtf);
  EXPECT_THAT(ErrorOf("text a.rtf | A | | 01/01/2024\nlink v2 \"\\par\" -> a.rtf\n"), HasSubstr("não aparece"));
}

TEST_F(BuildBasePlanTest, AMissingFileNamesTheEntryLineAndThePath) {
  EXPECT_EQ(ErrorOf("folder A | A |\ntext A/nada.rtf | N | | 01/01/2024\n"),
            "manifest.txt, linha 2: arquivo não encontrado: " + (source_.Path() / "A/nada.rtf").string());
}

TEST_F(BuildBasePlanTest, AFolderInPlaceOfADocumentIsNotFound) {
  std::filesystem::create_directories(source_.Path() / "x.rtf");
  EXPECT_THAT(ErrorOf("text x.rtf | X | | 01/01/2024\n"), HasSubstr("linha 1: arquivo não encontrado"));
}

TEST_F(BuildBasePlanTest, ChecksThatTextsAreRtfAndPicturesAreBitmaps) {
  Write("a.rtf", "Texto simples, sem RTF.");
  Write("b.bmp", "GIF89a...");
  Write("c.bmp", "BM");
  Write("d.rtf", "");
  EXPECT_EQ(ErrorOf("text a.rtf | A | | 01/01/2024\n"), "manifest.txt, linha 1: a.rtf não é um texto RTF");
  EXPECT_EQ(ErrorOf("bitmap b.bmp | B | | 01/01/2024\n"), "manifest.txt, linha 1: b.bmp não é uma imagem BMP");
  EXPECT_EQ(ErrorOf("bitmap c.bmp | C | | 01/01/2024\n"), "manifest.txt, linha 1: c.bmp não é uma imagem BMP");
  EXPECT_EQ(ErrorOf("text d.rtf | D | | 01/01/2024\n"), "manifest.txt, linha 1: d.rtf não é um texto RTF");
}

TEST_F(BuildBasePlanTest, RefusesBitmapsWhoseHeadersNoReaderCouldTrust) {
  constexpr std::size_t kPixelOffset = 10, kWidth = 18, kHeight = 22, kDepth = 28;
  Write("huge.bmp", BitmapWith(kWidth, 1000000));
  Write("zero.bmp", BitmapWith(kHeight, 0));
  Write("depth.bmp", BitmapWith(kDepth, 7));
  Write("offset.bmp", BitmapWith(kPixelOffset, 0xFFFFFFF0));
  Write("short.bmp", BitmapWith(kWidth, 1000));
  EXPECT_THAT(ErrorOf("bitmap huge.bmp | H | | 01/01/2024\n"), HasSubstr("dimensões inválidas (1000000 x 1)"));
  EXPECT_THAT(ErrorOf("bitmap zero.bmp | Z | | 01/01/2024\n"), HasSubstr("dimensões inválidas"));
  EXPECT_THAT(ErrorOf("bitmap depth.bmp | D | | 01/01/2024\n"), HasSubstr("formato de pixels inválido"));
  EXPECT_THAT(ErrorOf("bitmap offset.bmp | O | | 01/01/2024\n"), HasSubstr("fora do arquivo"));
  EXPECT_THAT(ErrorOf("bitmap short.bmp | S | | 01/01/2024\n"), HasSubstr("menor do que as dimensões"));
  Write("ok.bmp", TinyBitmap());
  EXPECT_EQ(ErrorOf("bitmap ok.bmp | K | | 01/01/2024\n"), "");
}

TEST_F(BuildBasePlanTest, RefusesAFileTooLargeToBeADocument) {
  Write("grande.bmp", TinyBitmap());
  std::filesystem::resize_file(source_.Path() / "grande.bmp", kMaxDocumentBytes + 1);  // sparse, costs no disk
  EXPECT_THAT(ErrorOf("bitmap grande.bmp | G | | 01/01/2024\n"),
              HasSubstr("linha 1: " + (source_.Path() / "grande.bmp").string() + " é grande demais para um documento"));
}

TEST_F(BuildBasePlanTest, BrokenRtfStillGivesAPlanWhenItsLinksAreFound) {
  // The reader forgives missing braces; the link words are what matter here.
  Write("a.rtf", "{\\rtf1 {{{{ texto truncado \\'zz \\u");
  const TBasePlan plan = Plan("text a.rtf | A | | 01/01/2024\nlink v2 \"texto\" -> a.rtf\n");
  EXPECT_EQ(plan.Documents[0].Links.size(), 1u);
}

}  // namespace
