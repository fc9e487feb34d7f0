#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QSet>
#include <QTextEdit>

#include "ClientTestBase.h"
#include "MenuMnemonics.h"
#include "TOMOTree.h"

namespace {

class KeyboardTest : public ClientTest {
 protected:
  void MakeDocuments(int count) {
    for (int id = 1; id <= count; ++id) AddDocument(id, 0, "Doc " + std::to_string(id));
    SaveIndex();
    for (int id = 1; id <= count; ++id) WriteBody(id, TextBody("texto " + std::to_string(id)));
    OpenWindow();
  }
  int Current() { return Window().CurrentNode() ? Window().CurrentNode()->Id() : -1; }
  const TClientActions& Actions() { return Window().Actions(); }
  void PressSideButton(Qt::MouseButton button) {
    QWidget* viewport = Window().findChild<QTextEdit*>("TextEdit")->viewport();
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5), viewport->mapToGlobal(QPointF(5, 5)), button, button,
                      Qt::NoModifier);
    QApplication::sendEvent(viewport, &press);
  }
};

TEST_F(KeyboardTest, EnterOpensTheCurrentRowOfTheDocumentList) {
  MakeDocuments(3);
  auto* list = Window().findChild<QListView*>("ListBox");
  list->setCurrentIndex(list->model()->index(1, 0));
  QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
  QApplication::sendEvent(list, &enter);
  EXPECT_EQ(Current(), 2);
}

TEST_F(KeyboardTest, BackAndForwardAreOffAtTheEndsAndFollowKeysAndMouseButtons) {
  MakeDocuments(3);
  EXPECT_FALSE(Actions().BrowseBackAction->isEnabled());
  EXPECT_FALSE(Actions().BrowseForwardAction->isEnabled());
  ShowId(1);
  EXPECT_FALSE(Actions().BrowseBackAction->isEnabled());  // only the shown document
  ShowId(2);
  ShowId(3);
  EXPECT_TRUE(Actions().BrowseBackAction->isEnabled());
  EXPECT_FALSE(Actions().BrowseForwardAction->isEnabled());
  EXPECT_EQ(Actions().BrowseBackAction->shortcut(), QKeySequence(Qt::ALT | Qt::Key_Left));
  EXPECT_EQ(Actions().BrowseForwardAction->shortcut(), QKeySequence(Qt::ALT | Qt::Key_Right));

  PressSideButton(Qt::BackButton);
  PressSideButton(Qt::BackButton);
  EXPECT_EQ(Current(), 1);
  EXPECT_FALSE(Actions().BrowseBackAction->isEnabled());
  EXPECT_TRUE(Actions().BrowseForwardAction->isEnabled());
  PressSideButton(Qt::BackButton);  // at the end: nothing happens
  EXPECT_EQ(Current(), 1);
  PressSideButton(Qt::ForwardButton);
  EXPECT_EQ(Current(), 2);
  EXPECT_TRUE(Actions().BrowseBackAction->isEnabled());
  // Showing another document empties the forward history.
  ShowId(3);
  EXPECT_FALSE(Actions().BrowseForwardAction->isEnabled());
}

// Every menu item can be reached with Alt and a letter, no two items of a
// menu share one, and the captions read as before.
TEST_F(KeyboardTest, MenusCarryUniqueLettersWithoutChangingTheirCaptions) {
  SaveIndex();
  OpenWindow();
  QList<QMenu*> menus{Window().menuBar()->findChildren<QMenu*>()};
  QList<QList<QAction*>> groups{Window().menuBar()->actions()};
  for (QMenu* menu : menus) {
    if (menu->objectName() != "HistoryBackMenu" && menu->objectName() != "HistoryForwardMenu") {
      groups << menu->actions();
    }
  }
  for (const QList<QAction*>& group : groups) {
    QSet<QChar> letters;
    for (QAction* item : group) {
      if (item->isSeparator()) continue;
      const QString caption = item->text();
      const qsizetype mark = caption.indexOf(u'&');
      ASSERT_GE(mark, 0) << caption.toStdString();
      EXPECT_FALSE(letters.contains(caption[mark + 1].toLower())) << caption.toStdString();
      letters.insert(caption[mark + 1].toLower());
    }
  }
  EXPECT_EQ(VisibleCaption(Actions().ExitAction->text()), "Sair");
  EXPECT_EQ(VisibleCaption(Actions().UpdateFloppyAction->text()), QString::fromUtf8("Atualizar via Disquete..."));
  EXPECT_EQ(VisibleCaption(Actions().EditSelectAllAction->text()), "Selecionar Tudo");
  EXPECT_EQ(Actions().EditSelectAllAction->text(), "Selecionar &Tudo");  // its own letter stays
  EXPECT_EQ(VisibleCaption("Fatos && Atos"), "Fatos & Atos");
  EXPECT_EQ(Actions().ExitAction->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Q));
}

TEST_F(KeyboardTest, EscapeHidesTheFindPanelFromAnywhereOnTheTextPage) {
  MakeDocuments(1);
  ShowId(1);
  Actions().SearchInCurrentDocAction->trigger();
  QAction& hide = *Actions().TextHideSearchAction;
  EXPECT_EQ(hide.shortcut(), QKeySequence(Qt::Key_Escape));
  EXPECT_EQ(hide.shortcutContext(), Qt::WidgetWithChildrenShortcut);
  EXPECT_TRUE(Window().findChild<QWidget*>("TextTabSheet")->actions().contains(&hide));
  ASSERT_TRUE(hide.isEnabled());
  hide.trigger();
  EXPECT_TRUE(Window().findChild<QWidget*>("TextSearchPanel")->isHidden());
}

// Tab walks the advanced search page from top to bottom.
TEST_F(KeyboardTest, TabFollowsTheAdvancedSearchPageDownwards) {
  SaveIndex();
  OpenWindow();
  QStringList order;
  const QStringList named{"SearchAdvancedBtn", "SearchMoreAndRadio", "SearchDocMoreText", "SearchWhereContentRadio",
                          "SearchDateFilterChk", "SearchDateFilterTo", "SearchFilterTreeChk", "SearchFilterTree"};
  QWidget* start = Window().findChild<QWidget*>("SearchAdvancedBtn");
  ASSERT_NE(start, nullptr);
  QWidget* widget = start;
  do {
    if (named.contains(widget->objectName()) && !order.contains(widget->objectName())) order << widget->objectName();
    widget = widget->nextInFocusChain();
  } while (widget != start);
  EXPECT_EQ(order, named);
}

}  // namespace
