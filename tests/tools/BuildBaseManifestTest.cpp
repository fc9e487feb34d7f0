#include "BuildBaseManifest.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "BuildBaseError.h"
#include "LxCodePage.h"
#include "TempFolder.h"

namespace {

using ::testing::HasSubstr;

constexpr const char* kName = "fonte/manifest.txt";

const std::string kGoodManifest =
    "# comentário\n"
    "root | Boletim Fiscal | Atos de 2021 a 2025.\n"
    "\n"
    "folder ICMS | ICMS — Imposto | Regulamento e alíquotas.\n"
    "folder ICMS/2021 | 2021 |\n"
    "text ICMS/2021/decreto.rtf | Decreto nº 1, de 15/03/2021 | Aprova o regulamento. | 15/03/2021\n"
    "  link v2 \"Lei nº 1.870\" -> https://www.sefaz.example/lei-1870\n"
    "  link v1 \"tabela\" -> Tabelas/grafico.bmp\n"
    "folder Tabelas | Tabelas |\n"
    "bitmap Tabelas/grafico.bmp | Gráfico | Arrecadação. | 31/01/2025\n";

// The message of the error that parsing `text` raises ("" when it parses).
std::string ErrorOf(const std::string& text) {
  try {
    ParseManifest(text, kName);
  } catch (const EBuildBaseError& error) {
    return error.Message();
  }
  return "";
}

std::string Line(int number) { return std::string(kName) + ", linha " + std::to_string(number) + ": "; }

TEST(BuildBaseManifest, ReadsEntriesInOrderWithTextsInWindows1252) {
  const TManifest manifest = ParseManifest(kGoodManifest, kName);
  EXPECT_EQ(manifest.RootTitle, "Boletim Fiscal");
  ASSERT_EQ(manifest.Entries.size(), 5u);
  const TManifestEntry& folder = manifest.Entries[0];
  EXPECT_EQ(folder.Kind, TManifestKind::Folder);
  EXPECT_EQ(folder.Path, "ICMS");
  EXPECT_EQ(folder.Title, Utf8ToWin1252("ICMS — Imposto"));
  EXPECT_EQ(folder.Line, 4);
  EXPECT_EQ(manifest.Entries[1].Summary, "");
  const TManifestEntry& text = manifest.Entries[2];
  EXPECT_EQ(text.Kind, TManifestKind::Text);
  EXPECT_EQ(text.ParentPath(), "ICMS/2021");
  EXPECT_EQ(text.Date, EncodeDate(2021, 3, 15));
  EXPECT_EQ(manifest.Entries[4].Kind, TManifestKind::Bitmap);
}

TEST(BuildBaseManifest, LinksBelongToTheTextAboveAndMayNameLaterEntries) {
  const TManifest manifest = ParseManifest(kGoodManifest, kName);
  const auto& links = manifest.Entries[2].Links;
  ASSERT_EQ(links.size(), 2u);
  EXPECT_EQ(links[0].Version, TLinkVersion::V2);
  EXPECT_EQ(links[0].Anchor, Utf8ToWin1252("Lei nº 1.870"));
  EXPECT_TRUE(links[0].IsWebAddress());
  EXPECT_EQ(links[1].Version, TLinkVersion::V1);
  EXPECT_EQ(links[1].Target, "Tabelas/grafico.bmp");
  EXPECT_FALSE(links[1].IsWebAddress());
  EXPECT_EQ(manifest.FindEntry("Tabelas/grafico.bmp"), 4);
}

TEST(BuildBaseManifest, AcceptsCrLfLineEndsAndAByteOrderMark) {
  std::string text = "\xEF\xBB\xBF" "folder A | Pasta A | Resumo\r\ntext A/x.rtf | X | Y | 01/02/2003\r\n";
  const TManifest manifest = ParseManifest(text, kName);
  ASSERT_EQ(manifest.Entries.size(), 2u);
  EXPECT_EQ(manifest.Entries[0].Summary, "Resumo");
  EXPECT_EQ(manifest.Entries[1].Date, EncodeDate(2003, 2, 1));
}

TEST(BuildBaseManifest, WithoutRootLineTheRootHasADefaultTitle) {
  EXPECT_EQ(ParseManifest("folder A | A |\n", kName).RootTitle, "Documentos");
}

TEST(BuildBaseManifest, TheAnchorRunsToTheLastArrowAndMayHoldQuotes) {
  const TManifest manifest = ParseManifest("text a.rtf | A | | 01/01/2024\nlink v2 \"diz \"sim\" -> b\" -> a.rtf\n", kName);
  EXPECT_EQ(manifest.Entries[0].Links[0].Anchor, "diz \"sim\" -> b");
}

TEST(BuildBaseManifest, ErrorsNameTheFileAndTheLine) {
  EXPECT_EQ(ErrorOf("folder A | A |\npasta B | B |\n"),
            Line(2) + "tipo de entrada desconhecido 'pasta' (use root, folder, text, bitmap ou link)");
}

TEST(BuildBaseManifest, RejectsWrongFieldCounts) {
  EXPECT_THAT(ErrorOf("folder A | A\n"), HasSubstr(Line(1) + "uma pasta se escreve"));
  EXPECT_THAT(ErrorOf("text a.rtf | A | resumo\n"), HasSubstr(Line(1) + "um documento se escreve"));
  EXPECT_THAT(ErrorOf("text a.rtf | A | resumo | 01/01/2024 | extra\n"), HasSubstr(Line(1)));
  EXPECT_THAT(ErrorOf("root Nome | A | B\n"), HasSubstr(Line(1) + "a raiz se escreve"));
}

TEST(BuildBaseManifest, RejectsEmptyTitlesAndBadDates) {
  EXPECT_EQ(ErrorOf("folder A |  | x\n"), Line(1) + "título vazio");
  EXPECT_EQ(ErrorOf("text a.rtf | A | x | 31/02/2023\n"), Line(1) + "data inválida '31/02/2023' (use dd/mm/aaaa)");
  EXPECT_EQ(ErrorOf("text a.rtf | A | x | ontem\n"), Line(1) + "data inválida 'ontem' (use dd/mm/aaaa)");
  EXPECT_EQ(ErrorOf("text a.rtf | A | x | \n"), Line(1) + "data inválida '' (use dd/mm/aaaa)");
}

TEST(BuildBaseManifest, PathsStayInsideTheSourceFolder) {
  for (const char* path : {"../fora.rtf", "a/../../b.rtf", "/etc/passwd", "C:/x.rtf", "a\\b.rtf", "a//b.rtf",
                           "./a.rtf", "a/"}) {
    SCOPED_TRACE(path);
    EXPECT_THAT(ErrorOf(std::string("text ") + path + " | A | | 01/01/2024\n"),
                HasSubstr(Line(1) + "caminho inválido"));
  }
}

TEST(BuildBaseManifest, RejectsDuplicatesAndUndeclaredOrWrongParents) {
  EXPECT_EQ(ErrorOf("folder A | A |\nfolder A | B |\n"), Line(2) + "o caminho 'A' já foi usado na linha 1");
  EXPECT_EQ(ErrorOf("text A/x.rtf | X | | 01/01/2024\n"),
            Line(1) + "a pasta 'A' não foi declarada antes desta entrada");
  EXPECT_EQ(ErrorOf("text a.rtf | A | | 01/01/2024\ntext a.rtf/b.rtf | B | | 01/01/2024\n"),
            Line(2) + "'a.rtf' é um documento, não uma pasta");
  EXPECT_EQ(ErrorOf("root | A |\nroot | B |\n"), Line(2) + "a raiz já foi definida");
}

TEST(BuildBaseManifest, RejectsLinksOutsideTextsAndUnknownTargets) {
  EXPECT_THAT(ErrorOf("link v2 \"x\" -> a.rtf\n"), HasSubstr(Line(1) + "link fora de um texto"));
  EXPECT_THAT(ErrorOf("bitmap a.bmp | A | | 01/01/2024\nlink v2 \"x\" -> a.bmp\n"),
              HasSubstr(Line(2) + "link fora de um texto"));
  EXPECT_THAT(ErrorOf("text a.rtf | A | | 01/01/2024\n\n# c\n  link v2 \"x\" -> nada.rtf\n"),
              HasSubstr(Line(4) + "destino de link desconhecido 'nada.rtf'"));
  EXPECT_EQ(ErrorOf("text a.rtf | A | | 01/01/2024\nlink v3 \"x\" -> a.rtf\n"),
            Line(2) + "versão de link desconhecida 'v3' (use v1 ou v2)");
  EXPECT_THAT(ErrorOf("text a.rtf | A | | 01/01/2024\nlink v2 x -> a.rtf\n"), HasSubstr("entre aspas"));
  EXPECT_THAT(ErrorOf("text a.rtf | A | | 01/01/2024\nlink v2 \"x\" a.rtf\n"), HasSubstr(Line(2) + "um link se escreve"));
  EXPECT_EQ(ErrorOf("text a.rtf | A | | 01/01/2024\nlink v2 \"\" -> a.rtf\n"), Line(2) + "o trecho do link está vazio");
  EXPECT_EQ(ErrorOf("text a.rtf | A | | 01/01/2024\nlink v2 \"x\" -> https://\n"), Line(2) + "endereço de link incompleto");
  EXPECT_THAT(ErrorOf("text a.rtf | A | | 01/01/2024\nlink v2 \"x\" -> a b\n"), HasSubstr("sem espaços"));
}

TEST(BuildBaseManifest, LimitsTheLinksOfOneText) {
  std::string text = "text a.rtf | A | | 01/01/2024\n";
  for (size_t i = 0; i <= kMaxLinksPerText; ++i) text += "link v2 \"x\" -> a.rtf\n";
  EXPECT_EQ(ErrorOf(text), Line(static_cast<int>(kMaxLinksPerText) + 2) + "mais de 256 links num só texto");
}

TEST(BuildBaseManifest, RejectsControlCharactersInvalidUtf8AndCharactersOutsideTheCodePage) {
  EXPECT_EQ(ErrorOf(std::string("folder A | A\0B |\n", 17)), Line(1) + "caractere de controle (código 0) na linha");
  EXPECT_EQ(ErrorOf("folder A | A\x1b |\n"), Line(1) + "caractere de controle (código 27) na linha");
  EXPECT_EQ(ErrorOf("folder A | \xC3\x28 |\n"), Line(1) + "texto que não é UTF-8 válido");
  EXPECT_EQ(ErrorOf("folder A | \xE4\xB8\xAD |\n"), Line(1) + "o caractere U+4E2D não existe no Windows-1252");
}

TEST(BuildBaseManifest, AManifestWithoutEntriesIsAnError) {
  EXPECT_EQ(ErrorOf(""), std::string(kName) + ": o manifesto não tem nenhuma entrada");
  EXPECT_EQ(ErrorOf("# só comentários\n\nroot | Raiz |\n"), std::string(kName) + ": o manifesto não tem nenhuma entrada");
}

TEST(BuildBaseManifest, SurvivesAVeryLongLine) {
  const std::string title(200000, 'x');
  const TManifest manifest = ParseManifest("folder A | " + title + " |\n", kName);
  EXPECT_EQ(manifest.Entries[0].Title.size(), title.size());
}

TEST(BuildBaseManifest, ReadManifestRefusesAHugeFile) {
  TempFolder folder;
  const std::string name = folder.File("manifest.txt");
  WriteWholeFile(name, "folder A | A |\n");
  std::filesystem::resize_file(name, kMaxManifestBytes + 1);
  try {
    ReadManifest(name);
    FAIL() << "no error";
  } catch (const EBuildBaseError& error) {
    EXPECT_EQ(error.Message(), name + ": arquivo grande demais para um manifesto");
  }
}

TEST(BuildBaseManifest, ReadManifestNamesAMissingFile) {
  TempFolder folder;
  const std::string name = folder.File("manifest.txt");
  try {
    ReadManifest(name);
    FAIL() << "no error";
  } catch (const EBuildBaseError& error) {
    EXPECT_EQ(error.Message(), "Manifesto não encontrado: " + name);
  }
  WriteWholeFile(name, "root | Raiz |\nfolder A | A |\n");
  EXPECT_EQ(ReadManifest(name).FileName, name);
}

}  // namespace
