#pragma once

#include <functional>
#include <memory>

#include <QObject>

#include "SearchResultList.h"

class QModelIndex;
class QTreeView;
class TResultListModel;
class TResultListView;
class TResultTree;
class TResultTreeModel;
class TTOMONode;
class TTOMOTree;
class TSearchTextView;
struct TSearchFilter;

// A search's results as the user works through them: the result tree in the
// left pane and the result list on the search page show them, the hits of
// the shown entry are marked in its text, and the hit commands step from hit
// to hit and on to the next entry. The results hold entry Ids, so they
// outlast a reload of the tree; the views let go of the old tree's nodes and
// come back on the new one with the same rows and choices.
//
//   session.Attach(treeSource, resultTreeView, shownText);
//   session.Replace(RunSearchQuery(index, query), filter);
//   session.MarkHits(entry);           // after the entry is shown
//   session.StepHit(entry, true);      // "Procurar próxima ocorrência"
class TSearchSession : public QObject {
  Q_OBJECT

 public:
  using TTreeSource = std::function<TTOMOTree*()>;
  // The hits' view of the text while it shows the current entry (the
  // reader's TTextHitMarks), nullptr otherwise.
  using TShownText = std::function<std::unique_ptr<TSearchTextView>()>;

  TSearchSession(TResultListView& list, QObject* parent);
  ~TSearchSession() override;

  // The window's parts the session works with: the tree its results point
  // into, the result tree view of the left pane, the text shown.
  void Attach(TTreeSource tree, QTreeView& resultTree, TShownText shownText);
  TTOMOTree* Tree() const { return tree_ ? tree_() : nullptr; }

  // The results shown, or nullptr before the first search.
  const TSearchResultList* Results() const { return results_.get(); }
  const TResultTree& Items() const;
  // Replaces the results by `results` with `filter` applied, and shows them.
  // Returns how many documents the search found before the filters.
  int Replace(TSearchResultList results, const TSearchFilter& filter);
  // No results; the views point into them and let go first.
  void Drop();

  // Whether the entry's item in the result tree is a hit.
  bool IsHit(const TTOMONode* entry) const;
  bool HasItem(const TTOMONode* entry) const;
  // Marks the hits of the shown entry's result and selects the first;
  // whether there were hits to mark.
  bool MarkHits(const TTOMONode* entry);
  // Selects the next (or previous) hit in the shown entry; past its last
  // (or before its first) the entry of the list with hits after it (or
  // before it) is shown, at its first (or last) hit.
  void StepHit(const TTOMONode* entry, bool forward);

  // Across a reload of the tree (TreeAboutToBeReplaced, TreeReplaced): the
  // views let go of the old nodes, and come back with the same rows, chosen
  // rows and top row, by entry Id.
  void LetGoOfTree();
  void FollowNewTree();

 signals:
  // An entry of the results is to be shown (nullptr: none, so that an entry
  // shown already is loaded and marked anew).
  void ShowWanted(TTOMONode* entry);

 private:
  // The rows as they were before a reload, by entry Id (-1: none).
  struct TViewMark {
    int TopRow = -1;
    int TopId = -1;
    int ListChosenId = -1;
    int TreeChosenId = -1;
  };

  TTOMONode* FindNode(int id) const;
  int ItemOf(const TTOMONode* entry) const;
  void ConnectViews();
  void RebuildViews();
  void ClearViews();
  void ChooseTreeItem(const QModelIndex& index);
  void ListRowClicked(int row);
  void ListRowOpened(int row);
  // The result tree (and the list, with `inList`) point at the item,
  // without showing it.
  void FollowItem(int item, bool inList);
  int RowOfId(int id) const;

  TResultListView& list_;
  QTreeView* resultTree_ = nullptr;
  TResultTreeModel* treeModel_ = nullptr;
  TResultListModel* listModel_ = nullptr;
  std::unique_ptr<TSearchResultList> results_;
  TTreeSource tree_;
  TShownText shownText_;
  // Set while the session itself moves the result tree's selection, which
  // then shows nothing.
  bool selectingItem_ = false;
  TViewMark reloadMark_;
};
