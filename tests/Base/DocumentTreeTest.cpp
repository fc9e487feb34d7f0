// The document tree: loading, walking, flags, merging and saving.

#include <gtest/gtest.h>

#include "IndexFileTestSupport.h"
#include "TOMOFileError.h"
#include "TOMOTree.h"

using namespace indexfile;

namespace {

std::string Folder(const TempFolder& temp) { return temp.Path().string(); }

std::vector<int> WalkIds(const TTOMOTree& tree) {
  std::vector<int> ids;
  for (auto it = tree.Iterator(); !it.Eof(); it.Next()) ids.push_back(it.Current()->Id());
  return ids;
}

TTOMORecordH Record(int id, int parentId, const std::string& title = "t") {
  TTOMORecordH record;
  record.Id = id;
  record.ParentId = parentId;
  record.Title = title;
  return record;
}

// A tree built in memory from (id, parent) pairs, the first being the root.
std::unique_ptr<TTOMOTree> TreeOf(const std::vector<std::pair<int, int>>& links) {
  auto tree = std::make_unique<TTOMOTree>();
  for (const auto& [id, parent] : links) tree->AddNode(Record(id, parent));
  return tree;
}

}  // namespace

TEST(TreeLoading, RootAloneWalksToTheRootAlone) {
  TempFolder temp;
  WriteIndex(temp, {".0,-1,Raiz,,01/01/2000"});
  TTOMOTree tree(Folder(temp));
  EXPECT_EQ(WalkIds(tree), (std::vector<int>{0}));
  EXPECT_FALSE(tree.Modified());
}

TEST(TreeLoading, WalkLevelsAndPositions) {
  TempFolder temp;
  WriteIndex(temp, {".0,-1,Raiz,,01/01/2000", ".1,0,a,,01/01/2000", ".2,1,b,,01/01/2000", ".3,0,c,,01/01/2000"});
  TTOMOTree tree(Folder(temp));
  EXPECT_EQ(WalkIds(tree), (std::vector<int>{0, 1, 2, 3}));
  std::vector<int> levels;
  for (int id : {0, 1, 2, 3}) levels.push_back(tree.FindNode(id)->Level());
  EXPECT_EQ(levels, (std::vector<int>{0, 1, 2, 1}));
  EXPECT_EQ(tree.FindNode(3)->IndexInParent(), 1);
  EXPECT_EQ(tree.FindNode(0)->IndexInParent(), 0);
  EXPECT_EQ(tree.FindNode(0)->Parent(), nullptr);
  EXPECT_EQ(tree.FindNode(2)->Parent(), tree.FindNode(1));
  EXPECT_EQ(tree.FindNode(0)->ChildCount(), 2);
  EXPECT_FALSE(tree.FindNode(2)->HasChildren());
  std::vector<int> children;
  for (auto it = tree.FindNode(0)->Children(); !it.Eof(); it.Next()) children.push_back(it.Current()->Id());
  EXPECT_EQ(children, (std::vector<int>{1, 3}));
}

TEST(TreeLoading, FirstRecordIsForcedToBeARootButTheWalkStartsAtZero) {
  TempFolder temp;
  WriteIndex(temp, {".7,3,sete,,01/01/2000", ".8,7,oito,,01/01/2000"});
  TTOMOTree tree(Folder(temp));
  EXPECT_EQ(tree.FindNode(7)->Record().ParentId, -1);
  EXPECT_EQ(tree.FindNode(8)->Level(), 1);
  EXPECT_TRUE(WalkIds(tree).empty());
}

TEST(TreeLoading, LaterDuplicateIsFoundEarlierStaysListed) {
  TempFolder temp;
  WriteIndex(temp, {".0,-1,Raiz,,01/01/2000", ".5,0,first,,01/01/2000", ".6,5,child,,01/01/2000",
                    ".5,0,second,,01/01/2000"});
  TTOMOTree tree(Folder(temp));
  EXPECT_EQ(tree.FindNode(5)->Record().Title, "second");
  EXPECT_EQ(tree.FindNode(0)->ChildCount(), 2);
  EXPECT_EQ(tree.FindNode(0)->Child(0)->Record().Title, "first");
  EXPECT_EQ(WalkIds(tree), (std::vector<int>{0, 5, 6, 5}));
}

TEST(TreeLoading, OrphansAreFindableButNotWalked) {
  TempFolder temp;
  WriteIndex(temp, {".0,-1,Raiz,,01/01/2000", ".2,1,orphan,,01/01/2000", ".1,0,\"late parent\",,01/01/2000"});
  TTOMOTree tree(Folder(temp));
  EXPECT_NE(tree.FindNode(2), nullptr);
  EXPECT_EQ(WalkIds(tree), (std::vector<int>{0, 1}));
}

TEST(TreeLoading, ARecordThatIsItsOwnParentIsRejected) {
  TempFolder temp;
  WriteIndex(temp, {".0,-1,Raiz,,01/01/2000", ".4,4,self,,01/01/2000"});
  try {
    TTOMOTree tree(Folder(temp));
    FAIL() << "loaded";
  } catch (const ETOMOFileError& error) {
    EXPECT_EQ(error.Message(), "Registro inválido: nó pai e filho são o mesmo");
  }
}

TEST(TreeLoading, ParentsNamingEachOtherDoNotHangAnyWalk) {
  TempFolder temp;
  WriteIndex(temp, {".0,-1,Raiz,,01/01/2000", ".1,2,A,,01/01/2000", ".2,1,B,,01/01/2000"});
  TTOMOTree tree(Folder(temp));
  EXPECT_EQ(WalkIds(tree), (std::vector<int>{0}));
  EXPECT_EQ(tree.FindNode(1)->Level(), -1);
  EXPECT_EQ(tree.FindNode(2)->Level(), -1);
  EXPECT_EQ(tree.FindNode(1)->NextInPreOrder(), tree.FindNode(2));
  EXPECT_EQ(tree.FindNode(2)->NextInPreOrder(), nullptr);
  EXPECT_EQ(tree.FindNode(1)->IndexInParent(), -1);  // B does not list A
}

TEST(TreeLoading, IndexErrorsPropagate) {
  TempFolder temp;
  EXPECT_THROW(TTOMOTree(Folder(temp)), ELxException);
  WriteWholeFile(temp.Path() / "TOMOIdx.dat", "TOMO.Documento\r\n");
  EXPECT_THROW(TTOMOTree(Folder(temp)), ETOMOFileError);
}

TEST(TreeFlags, DocumentDateKeepsTheDayAndMarksOnlyAChange) {
  auto tree = TreeOf({{0, -1}, {1, 0}});
  TTOMONode& node = *tree->FindNode(1);
  node.SetDocumentDate(EncodeDate(2004, 3, 3) + EncodeTime(15, 30, 0));
  EXPECT_EQ(node.Record().DocumentDate, EncodeDate(2004, 3, 3));
  EXPECT_TRUE(node.Modified());
  EXPECT_TRUE(tree->Modified());
  tree->SetModified(false);
  EXPECT_FALSE(node.Modified());
  node.SetDocumentDate(EncodeDate(2004, 3, 3) + 0.9);
  EXPECT_FALSE(node.Modified());
  EXPECT_FALSE(tree->Modified());
  node.SetDocumentSize(0);
  EXPECT_FALSE(node.Modified());
  node.SetDocumentSize(10);
  EXPECT_TRUE(node.Modified());
  tree->SetModified(false);
  node.ClearDocumentDate();
  EXPECT_EQ(node.Record().DocumentDate, 0);
  EXPECT_FALSE(tree->Modified());
}

TEST(TreeComparison, NewerAndNewerDocument) {
  auto remote = TreeOf({{0, -1}, {1, 0}});
  auto local = TreeOf({{0, -1}, {1, 0}});
  TTOMONode& theirs = *remote->FindNode(1);
  TTOMONode& ours = *local->FindNode(1);
  EXPECT_TRUE(theirs.IsNewerThan(nullptr));
  EXPECT_FALSE(theirs.IsNewerThan(&ours));
  EXPECT_FALSE(theirs.HasNewerDocument(nullptr));  // a folder has no document
  remote->MergeNode(theirs);  // harmless on its own tree
  TTOMORecordH record = theirs.Record();
  record.DocumentNumber = 8;
  record.DocumentDate = 10;
  auto withDocument = TreeOf({{0, -1}});
  TTOMONode& document = withDocument->AddNode(record);
  EXPECT_TRUE(document.HasNewerDocument(nullptr));
  EXPECT_TRUE(document.HasNewerDocument(&ours));
  EXPECT_TRUE(document.IsNewerThan(&ours));
  ours.SetDocumentDate(10);
  EXPECT_FALSE(document.HasNewerDocument(&ours));
  EXPECT_FALSE(document.IsNewerThan(&ours));
}

TEST(TreeMerge, MovesTheNodeToItsPlaceInTheOtherTree) {
  auto local = TreeOf({{0, -1}, {1, 0}, {2, 0}, {3, 0}, {4, 0}});
  auto other = TreeOf({{0, -1}, {2, 0}, {3, 0}, {4, 0}});
  local->MergeNode(*other->FindNode(4));  // third among its siblings there
  EXPECT_EQ(WalkIds(*local), (std::vector<int>{0, 1, 2, 4, 3}));
  EXPECT_TRUE(local->Modified());

  auto small = TreeOf({{0, -1}, {5, 0}, {9, 5}});
  auto wide = TreeOf({{0, -1}, {5, 0}, {6, 5}, {7, 5}, {8, 5}, {9, 5}});
  small->MergeNode(*wide->FindNode(8));  // new node, appended, already last
  small->MergeNode(*wide->FindNode(9));  // wanted 3, only 2 children: last place
  EXPECT_EQ(WalkIds(*small), (std::vector<int>{0, 5, 8, 9}));
}

TEST(TreeMerge, ChangesParentAndRecord) {
  auto local = TreeOf({{0, -1}, {1, 0}, {2, 0}, {3, 1}});
  auto other = TreeOf({{0, -1}, {2, 0}, {3, 2}});
  TTOMONode& moved = local->MergeNode(*other->FindNode(3));
  EXPECT_EQ(moved.Parent(), local->FindNode(2));
  EXPECT_EQ(local->FindNode(1)->ChildCount(), 0);
  EXPECT_EQ(WalkIds(*local), (std::vector<int>{0, 1, 2, 3}));
}

TEST(TreeMerge, RejectsSelfParentAndCirclesBeforeChangingAnything) {
  auto local = TreeOf({{0, -1}, {1, 0}, {2, 1}});
  auto bad = std::make_unique<TTOMOTree>();
  EXPECT_THROW(bad->AddNode(Record(5, 5)), ETOMOFileError);  // refused, but kept findable
  EXPECT_THROW(local->MergeNode(*bad->FindNode(5)), ETOMOFileError);
  bad->AddNode(Record(1, 2));  // no node 2 yet: unattached
  bad->AddNode(Record(2, 7));
  EXPECT_THROW(local->MergeNode(*bad->FindNode(1)), ETOMOFileError);  // 1 below its own child 2
  EXPECT_EQ(WalkIds(*local), (std::vector<int>{0, 1, 2}));
  EXPECT_FALSE(local->Modified());
}

TEST(TreeNodes, DeletingANodeLeavesItsChildrenUnattached) {
  auto tree = TreeOf({{0, -1}, {1, 0}, {2, 1}, {3, 0}});
  tree->DeleteNode(*tree->FindNode(1));
  EXPECT_EQ(tree->FindNode(1), nullptr);
  EXPECT_EQ(WalkIds(*tree), (std::vector<int>{0, 3}));
  EXPECT_EQ(tree->FindNode(2)->NextInPreOrder(), nullptr);
  EXPECT_EQ(tree->NodeCount(), 3);
}

TEST(TreeSaving, SaveAndLoadGiveTheSameTree) {
  TempFolder temp;
  auto tree = std::make_unique<TTOMOTree>();
  TTOMORecordH root = Record(0, -1, "Raiz");
  root.Changed = EncodeDate(2001, 1, 1) + EncodeTime(1, 2, 3);
  tree->AddNode(root);
  for (int id = 1; id <= 50; ++id) {
    TTOMORecordH record = Record(id, id <= 5 ? 0 : (id % 5) + 1, "T\xEDtulo, \"" + std::to_string(id) + "\"");
    record.Summary = "linha\r\n\\" + std::to_string(id);
    record.Changed = EncodeDate(2003, 1 + id % 12, 1 + id % 28) + EncodeTime(id % 24, id % 60, (id * 7) % 60);
    if (id > 5) {
      record.DocumentNumber = id * 3;
      record.DocumentSize = id * 1000;
      record.Kind = id % 2 ? 'T' : 'B';
      record.DocumentDate = EncodeDate(2004, 2, 29);
      record.AuxDate = EncodeDate(1999, 12, 31) + EncodeTime(23, 59, 59);
      record.PublishedDate = EncodeDate(2004, 3, 1);
      record.AuxText = "aux " + std::to_string(id);
    }
    tree->AddNode(record);
  }
  tree->SaveToFile(Folder(temp));
  TTOMOTree loaded(Folder(temp));
  auto original = tree->Iterator();
  auto copy = loaded.Iterator();
  for (; !original.Eof() && !copy.Eof(); original.Next(), copy.Next()) {
    EXPECT_EQ(copy.Current()->Record(), original.Current()->Record());
    EXPECT_EQ(copy.Current()->Level(), original.Current()->Level());
  }
  EXPECT_TRUE(original.Eof() && copy.Eof());
}

TEST(TreeSaving, RootIsWrittenWithParentMinusOne) {
  TempFolder temp;
  auto tree = TreeOf({{5, 3}});
  tree->AddNode(Record(0, 5));
  tree->SaveToFile(Folder(temp));
  TTOMOTree loaded(Folder(temp));
  EXPECT_EQ(loaded.Root()->Record().ParentId, -1);
}

TEST(TreeLoading, DeepChainsAndDamagedFilesNeverCrash) {
  TempFolder temp;
  constexpr int kDepth = 50000;
  std::vector<std::string> lines = {".0,-1,Raiz,,01/01/2000"};
  for (int id = 1; id <= kDepth; ++id) lines.push_back("." + std::to_string(id) + "," + std::to_string(id - 1) + ",n,,01/01/2000");
  WriteIndex(temp, lines);
  {
    TTOMOTree tree(Folder(temp));
    EXPECT_EQ(tree.FindNode(kDepth)->Level(), kDepth);
    EXPECT_EQ(WalkIds(tree).size(), static_cast<size_t>(kDepth + 1));
  }
  // Damaged copies of a good file: each loads or raises one of our errors.
  const std::string good = ReadWholeFile(temp.Path() / "TOMOIdx.dat").substr(0, 4000);
  std::uint32_t state = 12345;
  for (int round = 0; round < 200; ++round) {
    std::string damaged = good;
    for (int change = 0; change < 8; ++change) {
      state = state * 1103515245 + 12345;
      damaged[(state >> 8) % damaged.size()] = static_cast<char>(state >> 24);
    }
    WriteWholeFile(temp.Path() / "TOMOIdx.dat", damaged);
    try {
      TTOMOTree tree(Folder(temp));
      WalkIds(tree);
    } catch (const ELxException&) {
    }
  }
}
