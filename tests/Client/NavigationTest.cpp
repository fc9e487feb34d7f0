#include <QAction>
#include <QCoreApplication>
#include <QLabel>
#include <QMenu>

#include "ClientTestBase.h"
#include "NavigationHistory.h"
#include "TOMOTree.h"

namespace {

class NavigationTest : public ClientTest {
 protected:
  // Documents 1..count below folder 100, each with a short text.
  void MakeDocuments(int count) {
    AddFolder(100, 0, "Leis");
    for (int id = 1; id <= count; ++id) {
      AddDocument(id, 100, "Doc " + std::to_string(id));
    }
    SaveIndex();
    for (int id = 1; id <= count; ++id) WriteBody(id, TextBody("texto " + std::to_string(id)));
    OpenWindow();
  }
  QMenu& Back() { return *Window().findChild<QMenu*>("HistoryBackMenu"); }
  QMenu& Forward() { return *Window().findChild<QMenu*>("HistoryForwardMenu"); }
  static QStringList Captions(QMenu& menu) {
    QStringList captions;
    for (QAction* item : menu.actions()) captions << item->text();
    return captions;
  }
  int Current() { return Window().CurrentNode() ? Window().CurrentNode()->Id() : -1; }
};

TEST_F(NavigationTest, BackTwiceThenForwardWalksTheHistory) {
  MakeDocuments(3);
  ShowId(1);
  ShowId(2);
  ShowId(3);
  EXPECT_EQ(Captions(Back()), (QStringList{"Doc 3", "Doc 2", "Doc 1"}));
  EXPECT_FALSE(Back().actions()[0]->isVisible());
  EXPECT_TRUE(Back().actions()[1]->isVisible());

  Window().Actions().BrowseBackAction->trigger();
  Window().Actions().BrowseBackAction->trigger();
  EXPECT_EQ(Current(), 1);
  EXPECT_EQ(Captions(Forward()), (QStringList{"Doc 2", "Doc 3"}));
  EXPECT_EQ(Captions(Back()), (QStringList{"Doc 1"}));

  Window().Actions().BrowseForwardAction->trigger();
  EXPECT_EQ(Current(), 2);
  EXPECT_EQ(Captions(Forward()), (QStringList{"Doc 3"}));
  EXPECT_EQ(Captions(Back()), (QStringList{"Doc 2", "Doc 1"}));
}

TEST_F(NavigationTest, ClickingADeeperForwardItemMovesTheOnesAboveItBack) {
  MakeDocuments(3);
  ShowId(1);
  ShowId(2);
  ShowId(3);
  Window().History().BrowseBack();
  Window().History().BrowseBack();
  Window().History().FollowHistory(Forward().actions()[1]);
  EXPECT_EQ(Current(), 3);
  EXPECT_TRUE(Forward().actions().isEmpty());
  EXPECT_EQ(Captions(Back()), (QStringList{"Doc 3", "Doc 2", "Doc 1"}));
}

TEST_F(NavigationTest, AFolderDoesNotEnterTheHistoryButEmptiesTheForwardMenu) {
  MakeDocuments(2);
  ShowId(1);
  ShowId(2);
  Window().History().BrowseBack();
  ASSERT_EQ(Forward().actions().size(), 1);
  ShowId(100);
  EXPECT_TRUE(Forward().actions().isEmpty());
  EXPECT_EQ(Captions(Back()), (QStringList{"Doc 1"}));
}

TEST_F(NavigationTest, BackMenuKeepsTheCurrentDocumentAndTwelveBefore) {
  MakeDocuments(20);
  for (int id = 1; id <= 20; ++id) ShowId(id);
  ASSERT_EQ(Back().actions().size(), TNavigationHistory::kMaxItems);
  EXPECT_EQ(Back().actions().first()->text(), "Doc 20");
  EXPECT_FALSE(Back().actions().first()->isVisible());
  EXPECT_EQ(Back().actions().last()->text(), "Doc 8");
}

TEST_F(NavigationTest, UpGoesToTheParentAndStopsAtTheRoot) {
  MakeDocuments(1);
  ShowId(1);
  EXPECT_TRUE(Window().Actions().BrowseUpAction->isEnabled());
  Window().Actions().BrowseUpAction->trigger();
  EXPECT_EQ(Current(), 100);
  Window().Actions().BrowseUpAction->trigger();
  EXPECT_EQ(Current(), 0);
  EXPECT_EQ(Window().findChild<QLabel*>("TitleLabel")->text(), " Boletim");
  EXPECT_FALSE(Window().Actions().BrowseUpAction->isEnabled());
}

TEST_F(NavigationTest, HistoryFollowsAReloadedTreeAndDropsEntriesThatAreGone) {
  MakeDocuments(3);
  ShowId(1);
  ShowId(2);
  ShowId(3);
  // The next tree lacks document 2.
  TTOMOTree tree(DataFolder());
  tree.DeleteNode(*tree.FindNode(2));
  tree.SaveToFile(DataFolder());
  Window().LoadTree();
  EXPECT_EQ(Current(), 3);
  EXPECT_EQ(Captions(Back()), (QStringList{"Doc 3", "Doc 1"}));
  Window().History().BrowseBack();
  EXPECT_EQ(Current(), 1);
  EXPECT_EQ(Captions(Forward()), (QStringList{"Doc 3"}));
}

}  // namespace
