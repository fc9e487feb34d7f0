#pragma once

#include <functional>

#include <QObject>

class QAction;
class QMenu;
class TTOMONode;

// The back and forward history of visited documents, kept as the items of
// two menus ("Voltar" and "Avançar"), newest first. The back menu's first
// item is the document on screen and stays hidden; each menu holds at most
// kMaxItems. Items remember their entry's Id, so they survive a reload of
// the document tree; items whose entry is gone are dropped.
class TNavigationHistory : public QObject {
  Q_OBJECT

 public:
  static constexpr int kMaxItems = 13;

  using TFindNode = std::function<TTOMONode*(int id)>;
  using TShowNode = std::function<void(TTOMONode*)>;

  TNavigationHistory(QMenu& backMenu, QMenu& forwardMenu, TFindNode findNode, TShowNode showNode,
                     QObject* parent = nullptr);

  // Enters a document as the newest back item; folders and none do not enter.
  void RecordHistory(const TTOMONode* node);
  void ClearForward();
  // Shows the item's entry, moving the items above it to the other menu.
  void FollowHistory(QAction* item);
  // "Voltar": the back menu's second item; "Avançar": the forward menu's first.
  void BrowseBack();
  void BrowseForward();
  // Whether "Voltar" and "Avançar" lead anywhere.
  bool CanBrowseBack() const;
  bool CanBrowseForward() const;

  // True while an item is being followed: showing a node then records nothing.
  bool Navigating() const { return navigating_; }
  void SetNavigating(bool navigating) { navigating_ = navigating; }

  // After the tree was reloaded: renames items after their entries' titles
  // and drops those whose entry is gone.
  void Revalidate();

  static int EntryIdOf(const QAction& item);

 signals:
  // The menus changed: the commands that walk them follow.
  void Changed();

 private:
  QAction* NewItem(int id, const QString& caption, bool visible);
  void InsertFirst(QMenu& menu, QAction* item);
  static void DropBeyondLimit(QMenu& menu);
  void RevalidateMenu(QMenu& menu);

  QMenu& backMenu_;
  QMenu& forwardMenu_;
  TFindNode findNode_;
  TShowNode showNode_;
  bool navigating_ = false;
};

// Marks history as being followed for the life of a scope (the mark returns to
// what it was, also when showing a node raises): nodes shown meanwhile enter
// no history, as when an entry is re-shown after the tree was reloaded.
class THistoryPause {
 public:
  explicit THistoryPause(TNavigationHistory& history) : history_(history), was_(history.Navigating()) {
    history_.SetNavigating(true);
  }
  ~THistoryPause() { history_.SetNavigating(was_); }
  THistoryPause(const THistoryPause&) = delete;
  THistoryPause& operator=(const THistoryPause&) = delete;

 private:
  TNavigationHistory& history_;
  bool was_;
};
