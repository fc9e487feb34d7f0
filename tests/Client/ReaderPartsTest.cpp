// The parts the main window wires, used on their own: the reader view's
// shown document and the search page's session.
#include <filesystem>
#include <string>
#include <vector>

#include <QCoreApplication>
#include <QScrollBar>
#include <QTreeView>

#include "ClientTestBase.h"
#include "InstalledCollection.h"
#include "LxExcept.h"
#include "ResultListView.h"
#include "ResultTree.h"
#include "SearchFilter.h"
#include "SearchResult.h"
#include "SearchSession.h"
#include "ShownDocument.h"
#include "TOMONode.h"
#include "TOMOTree.h"
#include "TextHitMarks.h"
#include "TextView.h"

namespace {

class ReaderPartsTest : public ClientTest {
 protected:
  // Two entries under one folder, each a text of many lines.
  void MakeTwoTexts() {
    AddFolder(1, 0, "Pasta");
    AddDocument(10, 1, "Texto A");
    AddDocument(11, 1, "Texto B");
    SaveIndex();
    std::vector<std::string> lines(kLines, "palavra e mais palavras nesta linha");
    WriteBody(10, TextBody(RtfLines(lines)));
    WriteBody(11, TextBody(RtfLines(lines)));
    collection_.LoadTree();
  }
  TTOMONode& Entry(int id) { return *collection_.Tree()->FindNode(id); }

  static constexpr int kLines = 300;
  TInstalledCollection collection_{[this] { return DataFolder(); }, [] { return nullptr; }};
};

TEST_F(ReaderPartsTest, ShownDocumentTeachesItsEntryBeforeTheTreeIsSavedAndAsksForLinkedEntries) {
  AddDocument(1, 0, "Com atalho");
  AddDocument(2, 0, "Destino");
  SaveIndex();
  WriteBody(1, TextBody(RtfLines({"abc def"}), {"v2,0,4,3,2"}));
  collection_.LoadTree();
  const std::string savedBefore = ReadWholeFile(IndexFile());
  TTextView view;
  view.Shown().SetCollection(&collection_);
  std::vector<bool> savedWhenLoaded;
  QObject::connect(&view.Shown(), &TShownDocument::Loaded,
                   [&](TTOMONode*) { savedWhenLoaded.push_back(ReadWholeFile(IndexFile()) != savedBefore); });
  std::vector<int> wanted;
  QObject::connect(&view.Shown(), &TShownDocument::EntryWanted, [&](TTOMONode* entry) { wanted.push_back(entry->Id()); });

  view.Shown().Load(Entry(1));
  ASSERT_TRUE(errors_.empty()) << errors_[0].Message;
  EXPECT_EQ(view.toPlainText(), "abc def");
  EXPECT_NE(Entry(1).Record().DocumentDate, 0);
  EXPECT_GT(Entry(1).Record().DocumentSize, 0);
  // The icon hears of it first, then the tree with the learned facts is written.
  EXPECT_EQ(savedWhenLoaded, std::vector<bool>{false});
  EXPECT_NE(ReadWholeFile(IndexFile()), savedBefore);
  view.Shown().FollowLink(0);
  EXPECT_EQ(wanted, std::vector<int>{2});

  // A body that cannot be read shows the error text, and the entry forgets its date.
  WriteWholeFile(std::filesystem::path(DataFolder()) / "Doc00000" / "Doc00001.dat", "lixo\r\n");
  view.Shown().Load(Entry(1));
  EXPECT_EQ(errors_.size(), 1u);
  EXPECT_TRUE(view.toPlainText().contains("Documento: 1"));
  EXPECT_EQ(Entry(1).Record().DocumentDate, 0);
  EXPECT_TRUE(view.Shown().Links().empty());
  EXPECT_THROW(view.Shown().FollowLink(0), ELxException);
}

TEST_F(ReaderPartsTest, ScrollMemoryComesBackOnlyWhileItsEntryIsStillShown) {
  MakeTwoTexts();
  TTextView view;
  view.resize(400, 200);
  view.show();
  view.Shown().SetCollection(&collection_);
  bool stillShown = true;
  view.Shown().SetStillShown([&](int) { return stillShown; });
  constexpr int kHalf = kScrollFractionUnit / 2;
  constexpr int kTolerance = kScrollFractionUnit / 100;  // the range may differ once laid out again
  view.Shown().Load(Entry(10));
  QCoreApplication::processEvents();
  view.ScrollToFraction(kHalf);
  view.Shown().StoreScroll(10);

  view.Shown().Load(Entry(11));
  view.Shown().RestoreScroll(11);  // never kept: the top
  EXPECT_EQ(view.verticalScrollBar()->value(), view.verticalScrollBar()->minimum());

  view.Shown().Load(Entry(10));
  view.Shown().RestoreScroll(10);
  QCoreApplication::processEvents();
  EXPECT_NEAR(view.ScrollFraction(), kHalf, kTolerance);
  // The second, later scroll after pending layout work happens only while
  // the entry is still the one shown.
  view.Shown().RestoreScroll(10);
  view.ScrollToFraction(0);
  stillShown = false;
  QCoreApplication::processEvents();
  QCoreApplication::processEvents();
  EXPECT_EQ(view.ScrollFraction(), 0);
  stillShown = true;
  view.Shown().RestoreScroll(10);
  view.ScrollToFraction(0);
  QCoreApplication::processEvents();
  EXPECT_NEAR(view.ScrollFraction(), kHalf, kTolerance);
}

// The session on its own: stepping past an entry's last hit moves the
// result tree to the next entry without the tree's own choice showing it a
// second time.
TEST_F(ReaderPartsTest, SessionStepsAcrossEntriesWithOneShowPerStep) {
  MakeTwoTexts();
  TResultListView list;
  QTreeView resultTree;
  TTextView text;
  text.Shown().SetCollection(&collection_);
  TSearchSession session(list, nullptr);
  session.Attach([this] { return collection_.Tree(); }, resultTree,
                 [&text] { return std::unique_ptr<TSearchTextView>(std::make_unique<TTextHitMarks>(text)); });
  std::vector<int> shown;
  QObject::connect(&session, &TSearchSession::ShowWanted, [&](TTOMONode* entry) {
    shown.push_back(entry ? entry->Id() : -1);
    if (!entry) return;
    text.Shown().Load(*entry);
    session.MarkHits(entry);
  });
  TSearchResultList results;
  results.FindOrAdd(10).AddRange(0, 7);
  results.FindOrAdd(10).AddRange(24, 8);
  results.FindOrAdd(11).AddRange(0, 7);
  EXPECT_EQ(session.Replace(std::move(results), TSearchFilter{}), 2);
  EXPECT_EQ(session.Items().HitCount(), 2);
  EXPECT_TRUE(session.IsHit(&Entry(10)));
  EXPECT_FALSE(session.IsHit(&Entry(1)));
  EXPECT_TRUE(session.HasItem(&Entry(1)));  // the folder above the hits

  text.Shown().Load(Entry(10));
  session.MarkHits(&Entry(10));
  EXPECT_EQ(text.textCursor().selectionStart(), 0);
  session.StepHit(&Entry(10), true);
  EXPECT_EQ(text.textCursor().selectionStart(), 24);
  EXPECT_TRUE(shown.empty());
  session.StepHit(&Entry(10), true);
  EXPECT_EQ(shown, std::vector<int>{11});
  EXPECT_EQ(text.textCursor().selectionStart(), 0);
  // Back before the first hit: the previous entry, at its last hit.
  session.StepHit(&Entry(11), false);
  EXPECT_EQ(shown, (std::vector<int>{11, 10}));
  EXPECT_EQ(text.textCursor().selectionStart(), 24);

  session.Drop();
  EXPECT_EQ(session.Results(), nullptr);
  EXPECT_EQ(list.model()->rowCount(), 0);
  EXPECT_FALSE(session.IsHit(&Entry(10)));
}

}  // namespace
