// The synthetic base: a sound base, the same for the same seed.

#include <filesystem>
#include <set>

#include <gtest/gtest.h>

#include "BaseGenerator.h"
#include "DocumentBaseUnit.h"
#include "LxFilUtl.h"
#include "TOMOTree.h"
#include "TempFolder.h"

namespace {

TBaseGeneratorOptions Options(std::int32_t entries, std::int32_t documents, std::uint64_t seed) {
  TBaseGeneratorOptions options;
  options.Entries = entries;
  options.Documents = documents;
  options.Seed = seed;
  return options;
}

}  // namespace

TEST(BaseGenerator, MakesASoundBase) {
  TempFolder temp;
  const std::string data = temp.Path().string();
  const TBaseGeneratorResult result = GenerateBase(data, Options(600, 60, 11));
  EXPECT_EQ(result.Entries, 600);
  EXPECT_EQ(result.Documents, 60);

  TTOMOTree tree(data);
  TTOMODocumentFolder folder(data);
  std::set<int> ids;
  int walked = 0, documents = 0, maxLevel = 0, withSummary = 0;
  for (auto it = tree.Iterator(); !it.Eof(); it.Next()) {
    const TTOMONode& node = *it.Current();
    const TTOMORecordH& record = node.Record();
    ids.insert(record.Id);
    ++walked;
    maxLevel = std::max(maxLevel, node.Level());
    if (!record.Summary.empty()) ++withSummary;
    if (record.DocumentNumber == 0) continue;
    ++documents;
    auto document = folder.GetDocument(record.DocumentNumber, false);
    EXPECT_EQ(record.DocumentSize, document->GetFileSize());
    const TTOMODocumentBody body = ReadDocumentBody(document->OpenRead());
    EXPECT_EQ(StrToDateTime(body.Values.Values("Data")), record.DocumentDate);
    if (record.Kind == 'B') {
      EXPECT_EQ(body.Content.substr(0, 2), "BM");
    } else {
      EXPECT_EQ(body.Content.substr(0, 6), "{\\rtf1");
      EXPECT_EQ(body.Content.back(), '}');
    }
    for (const TBodyLink& link : body.Hyperlinks) {
      if (link.Record.URL.empty()) {
        EXPECT_NE(tree.FindNode(link.Record.Target), nullptr);
      }
    }
  }
  EXPECT_EQ(walked, 600);
  EXPECT_EQ(documents, 60);
  EXPECT_EQ(ids.size(), 600u);
  EXPECT_GE(maxLevel, 4);
  EXPECT_GT(withSummary, 400);
  EXPECT_GT(result.Links, 0);
}

TEST(BaseGenerator, SameSeedSameBaseOtherSeedOtherBase) {
  TempFolder first, second, third;
  GenerateBase(first.Path().string(), Options(300, 20, 5));
  GenerateBase(second.Path().string(), Options(300, 20, 5));
  GenerateBase(third.Path().string(), Options(300, 20, 6));
  EXPECT_EQ(ReadWholeFile(first.Path() / "TOMOIdx.dat"), ReadWholeFile(second.Path() / "TOMOIdx.dat"));
  EXPECT_NE(ReadWholeFile(first.Path() / "TOMOIdx.dat"), ReadWholeFile(third.Path() / "TOMOIdx.dat"));
  const std::string name = DocumentFileName("", 7);
  EXPECT_EQ(ReadWholeFile(first.Path() / name), ReadWholeFile(second.Path() / name));
}

TEST(BaseGenerator, SmallAndOddSizes) {
  TempFolder temp;
  EXPECT_EQ(GenerateBase(temp.File("one"), Options(1, 5, 1)).Documents, 0);
  TTOMOTree single(temp.File("one"));
  EXPECT_EQ(single.NodeCount(), 1);
  EXPECT_EQ(GenerateBase(temp.File("more"), Options(10, 1000, 1)).Documents, 8);  // only the leaves
  EXPECT_THROW(GenerateBase(temp.File("none"), Options(0, 0, 1)), ELxException);
  EXPECT_THROW(GenerateBase(temp.File("none"), Options(10, -1, 1)), ELxException);
}
