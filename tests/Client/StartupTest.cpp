#include <QLabel>
#include <QListView>
#include <QTabWidget>

#include "ClientIcons.h"
#include "ClientMainUnit.h"
#include "ClientTestBase.h"
#include "MenuMnemonics.h"
#include "ConfigUnit.h"
#include "TOMOTree.h"
#include "TOMOTreeModel.h"

namespace {

class StartupTest : public ClientTest {};

TEST_F(StartupTest, WindowOpensWithRootTitleAndTopLevelList) {
  AddFolder(1, 0, "Legisla\xE7\xE3o");
  AddFolder(2, 0, "Pareceres");
  AddDocument(3, 1, "Lei 1");
  SaveIndex();
  TfrmClientMain& window = OpenWindow();

  EXPECT_EQ(window.windowTitle(), "Pandecta");
  EXPECT_EQ(window.findChild<QLabel*>("TitleLabel")->text(), " Boletim");
  auto* list = window.findChild<QListView*>("ListBox");
  ASSERT_EQ(list->model()->rowCount(), 2);
  EXPECT_EQ(list->model()->index(0, 0).data().toString(), QString::fromUtf8("Legislação"));
  EXPECT_TRUE(errors_.empty());
}

TEST_F(StartupTest, LeftPaneFollowsShowTreeSetting) {
  SaveIndex();
  {
    TfrmClientMain& window = OpenWindow();
    EXPECT_TRUE(window.findChild<QTabWidget*>("TreePageControl")->isHidden());
    window.Actions().ShowTreeAction->trigger();
    EXPECT_FALSE(window.findChild<QTabWidget*>("TreePageControl")->isHidden());
    EXPECT_TRUE(window.Actions().ShowTreeAction->isChecked());
  }
  TfrmClientMain& again = OpenWindow();
  EXPECT_TRUE(Config().GetBoolean(ShowTree));
  EXPECT_FALSE(again.findChild<QTabWidget*>("TreePageControl")->isHidden());
}

TEST_F(StartupTest, MissingIndexFileOpensWindowWithoutTreeAndReportsIt) {
  TfrmClientMain& window = OpenWindow();
  EXPECT_EQ(window.Tree(), nullptr);
  EXPECT_EQ(errors_.size(), 1u);
  EXPECT_EQ(window.findChild<QListView*>("ListBox")->model()->rowCount(), 0);
}

TEST_F(StartupTest, ActionsCarryTheirCaptionsAndLaterOnesStayDisabled) {
  SaveIndex();
  TfrmClientMain& window = OpenWindow();
  const TClientActions& a = window.Actions();
  EXPECT_EQ(VisibleCaption(a.PrintAction->text()), QString::fromUtf8("Imprimir..."));
  EXPECT_EQ(a.PrintAction->toolTip(), QString::fromUtf8("Imprime o documento atualmente selecionado"));
  EXPECT_EQ(a.SearchInCurrentDocAction->shortcut(), QKeySequence(QStringLiteral("Ctrl+F")));
  EXPECT_EQ(a.EditSelectAllAction->shortcut(), QKeySequence(QStringLiteral("Ctrl+T")));
  EXPECT_EQ(window.findChild<QAction*>("UpdateInternetAction"), a.UpdateInternetAction);
  EXPECT_TRUE(a.UpdateInternetAction->isEnabled());
  EXPECT_TRUE(a.ConfigAction->isEnabled());  // no build or update window holds the folders
  EXPECT_FALSE(a.PrintAction->isEnabled());  // the list page is shown
  EXPECT_FALSE(a.BrowseUpAction->isEnabled());  // the root has no parent
  EXPECT_TRUE(a.HelpAction->isEnabled());
  for (const char* name : {"ShowTreeToolButton", "BrowseBackToolButton", "BrowseFrwdToolButton", "BrowseUpToolButton",
                           "SearchDocumentsToolButton", "SearchWordToolButton", "SearchNextWordToolButton",
                           "SearchPrevWordToolButton", "PrintDocumentToolButton", "EditCopyToolButton", "HelpButton",
                           "HelpLabel", "TreeView", "SearchTreeView", "PageControl", "ListBoxTabSheet", "TextTabSheet",
                           "BitmapTabSheet", "SearchDocTabSheet", "TextSearchPanel", "TextEdit", "BitmapImage",
                           "BitmapDefaultImage", "TextSearchEdit", "TextWholeWordChk", "TextMatchCaseChk",
                           "TextDirectionGroup", "HistoryBackMenu", "HistoryForwardMenu"}) {
    EXPECT_NE(window.findChild<QObject*>(name), nullptr) << name;
  }
}

TEST_F(StartupTest, NodeIconsFollowLevelAndDocumentState) {
  TTOMORecordH folder;
  EXPECT_EQ(NodeImageIndex(folder, 0), kTopFolderImage);
  EXPECT_EQ(NodeImageIndex(folder, 1), kFolderImage);
  EXPECT_EQ(NodeImageIndex(folder, 5), kFolderImage);
  TTOMORecordH document;
  document.DocumentNumber = 7;
  EXPECT_EQ(NodeImageIndex(document, 0), kUnreadDocumentImage);
  document.DocumentSize = 10;
  EXPECT_EQ(NodeImageIndex(document, 0), kUnreadDocumentImage);
  document.DocumentDate = 3000;
  EXPECT_EQ(NodeImageIndex(document, 2), kDocumentImage);
  EXPECT_FALSE(ClientIcon(TClientIcon::Back).isNull());
}

}  // namespace
