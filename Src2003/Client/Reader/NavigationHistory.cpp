#include "NavigationHistory.h"

#include <QAction>
#include <QCoreApplication>
#include <QMenu>

#include "QtText.h"
#include "TOMONode.h"

TNavigationHistory::TNavigationHistory(QMenu& backMenu, QMenu& forwardMenu, TFindNode findNode,
                                       TShowNode showNode, QObject* parent)
    : QObject(parent),
      backMenu_(backMenu),
      forwardMenu_(forwardMenu),
      findNode_(std::move(findNode)),
      showNode_(std::move(showNode)) {}

int TNavigationHistory::EntryIdOf(const QAction& item) { return item.data().toInt(); }

QAction* TNavigationHistory::NewItem(int id, const QString& caption, bool visible) {
  auto* item = new QAction(caption, this);
  item->setData(id);
  item->setVisible(visible);
  // Queued: the item is deleted while it is followed.
  connect(item, &QAction::triggered, this, [this, item] { FollowHistory(item); }, Qt::QueuedConnection);
  return item;
}

void TNavigationHistory::InsertFirst(QMenu& menu, QAction* item) {
  const QList<QAction*> items = menu.actions();
  menu.insertAction(items.isEmpty() ? nullptr : items.first(), item);
}

void TNavigationHistory::DropBeyondLimit(QMenu& menu) {
  // Called before an insert, so that the menu never exceeds kMaxItems.
  while (menu.actions().size() >= kMaxItems) delete menu.actions().last();
}

void TNavigationHistory::RecordHistory(const TTOMONode* node) {
  if (!node || node->Record().DocumentNumber == 0) return;
  QAction* item = NewItem(node->Id(), Win1252ToQString(node->Record().Title), false);
  DropBeyondLimit(backMenu_);
  if (!backMenu_.actions().isEmpty()) backMenu_.actions().first()->setVisible(true);
  InsertFirst(backMenu_, item);
  emit Changed();
}

void TNavigationHistory::ClearForward() {
  for (QAction* item : forwardMenu_.actions()) delete item;
  emit Changed();
}

void TNavigationHistory::FollowHistory(QAction* item) {
  QCoreApplication::processEvents();  // let the menu close first
  if (!backMenu_.actions().isEmpty()) backMenu_.actions().first()->setVisible(true);
  const bool inBack = backMenu_.actions().contains(item);
  if (!inBack && !forwardMenu_.actions().contains(item)) return;
  QMenu& self = inBack ? backMenu_ : forwardMenu_;
  QMenu& other = inBack ? forwardMenu_ : backMenu_;
  while (self.actions().first() != item) {
    QAction* top = self.actions().first();
    QAction* copy = NewItem(EntryIdOf(*top), top->text(), true);
    DropBeyondLimit(other);
    InsertFirst(other, copy);
    delete top;
  }
  const int id = EntryIdOf(*item);
  delete item;
  TTOMONode* node = findNode_(id);
  if (!node) {  // the entry left the base with the last update
    emit Changed();
    return;
  }
  {
    THistoryPause pause(*this);
    showNode_(node);
  }
  RecordHistory(node);
}

void TNavigationHistory::BrowseBack() {
  const QList<QAction*> items = backMenu_.actions();
  if (items.size() > 1) FollowHistory(items[1]);
}

bool TNavigationHistory::CanBrowseBack() const { return backMenu_.actions().size() > 1; }

bool TNavigationHistory::CanBrowseForward() const { return !forwardMenu_.actions().isEmpty(); }

void TNavigationHistory::BrowseForward() {
  const QList<QAction*> items = forwardMenu_.actions();
  if (!items.isEmpty()) FollowHistory(items.first());
}

void TNavigationHistory::RevalidateMenu(QMenu& menu) {
  for (QAction* item : menu.actions()) {
    const TTOMONode* node = findNode_(EntryIdOf(*item));
    if (!node) {
      delete item;
      continue;
    }
    item->setText(Win1252ToQString(node->Record().Title));
  }
}

void TNavigationHistory::Revalidate() {
  RevalidateMenu(backMenu_);
  RevalidateMenu(forwardMenu_);
  emit Changed();
}
