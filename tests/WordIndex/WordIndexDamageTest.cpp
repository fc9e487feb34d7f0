// A damaged word index is reported as damaged, never served as an answer.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "DocumentText.h"
#include "LxExcept.h"
#include "TOMODocumentSet.h"
#include "TempFolder.h"
#include "TestBase.h"
#include "WordIndex.h"
#include "WordIndexError.h"
#include "WordIndexTestSupport.h"
#include "lexdex.h"

namespace fs = std::filesystem;

namespace {

class WordIndexDamage : public ::testing::Test {
 protected:
  TempFolder folder;
  TWordIndex index{folder.File("Extra")};
};

TEST_F(WordIndexDamage, AHintFileThatIsAFolderCannotBeOpenedRatherThanFindNothing) {
  BuildTestIndex(index, {{7, "imposto de renda"}});
  const std::string hint = index.EngineFolder() + "/hint.il";
  fs::remove(hint);
  fs::create_directory(hint);
  EXPECT_THROW(SearchUtf8(index, "renda"), EWordIndexError);
}

TEST_F(WordIndexDamage, PositionsNoTextCanHaveAreDamageNotRanges) {
  BuildTestIndex(index, {{7, "imposto de renda"}});
  // A group file written with impossible pairs, as damage would leave it.
  ASSERT_EQ(ACL_Open(index.EngineFolder().c_str(), ACL_OPEN_UPDATE), ACL_OPEN_OK);
  ACL_DeleteGroup(9);
  ACL_BeginGroup(9);
  ACL_AddElem("multa", 5, -40, 0);
  ACL_AddElem("grave", 5, 2147483647, 1);
  ACL_AddElem("juros", 5, 10, 0);
  ACL_EndGroup();
  ACL_Close();
  EXPECT_THROW(SearchUtf8(index, "multa"), EWordIndexError);
  EXPECT_THROW(SearchUtf8(index, "juros grave"), EWordIndexError);
  EXPECT_EQ(Describe(SearchUtf8(index, "renda")), "7,11:5");
}

TEST_F(WordIndexDamage, APastedPhraseOfThousandsOfWordsIsSearchedLikeAShortOne) {
  BuildTestIndex(index, {{7, "imposto de renda retido na fonte"}, {8, "imposto predial"}});
  std::string phrase;
  for (int i = 0; i < 4000; ++i) phrase += "imposto renda ";
  EXPECT_EQ(Describe(SearchUtf8(index, phrase)), "");
  EXPECT_EQ(Describe(SearchUtf8(index, "imposto de renda retido")), "7,0:23");
}

TEST(DocumentTextDamage, ATextCutShortByDamageIsAnErrorNotAnEmptyText) {
  TempFolder folder;
  const std::string data = folder.File("Dados");
  const std::string deep = "{\\rtf1 " + std::string(200000, '{') + "x" + std::string(200000, '}') + "}";
  WriteTestBase(data, {{1, 0, "Lei", kKindRichText, "Texto"}});
  TTOMODocumentFolder documents(data);
  EXPECT_EQ(ReadDocumentText(documents, 1), "Texto");
  auto document = documents.GetDocument(1, false);
  document->SetProperty("Data", "01/02/2003");
  std::string body = "Data: 01/02/2003\r\nTamanho: " + std::to_string(deep.size()) + "\r\n\r\n" + deep;
  document->OpenWrite().WriteBuffer(body.data(), static_cast<std::int32_t>(body.size()));
  document->CloseDocument();
  EXPECT_THROW(ReadDocumentText(documents, 1), ELxException);
}

}  // namespace
