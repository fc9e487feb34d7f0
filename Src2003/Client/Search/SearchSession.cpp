#include "SearchSession.h"

#include <QTreeView>

#include "DocumentText.h"
#include "ResultListModel.h"
#include "ResultListView.h"
#include "ResultTreeModel.h"
#include "SearchFilter.h"
#include "SearchResult.h"
#include "TOMODocumentSet.h"
#include "TOMONode.h"
#include "TOMOTree.h"
#include "SearchTextView.h"
#include "WaitCursor.h"

TSearchSession::TSearchSession(TResultListView& list, QObject* parent) : QObject(parent), list_(list) {
  // The result model keeps each level in caption order itself: a sorting
  // view would sort the whole tree again on every rebuild.
  treeModel_ = new TResultTreeModel(this);
  listModel_ = new TResultListModel(treeModel_->Items(), this);
  list_.setModel(listModel_);
  // Snippets come from the text the word index read.
  listModel_->SetTextSource([](const TTOMONode& entry) {
    if (!DocumentSource()) return std::string();
    return ReadDocumentText(*DocumentSource(), entry.Record().DocumentNumber);
  });
}

// The models point into the results: they let go before the results go.
TSearchSession::~TSearchSession() {
  ClearViews();
  results_.reset();
}

void TSearchSession::Attach(TTreeSource tree, QTreeView& resultTree, TShownText shownText) {
  tree_ = std::move(tree);
  shownText_ = std::move(shownText);
  resultTree_ = &resultTree;
  resultTree_->setModel(treeModel_);
  treeModel_->SetItemFont(resultTree_->font());
  ConnectViews();
}

const TResultTree& TSearchSession::Items() const { return treeModel_->Items(); }

TTOMONode* TSearchSession::FindNode(int id) const { return Tree() ? Tree()->FindNode(id) : nullptr; }

int TSearchSession::Replace(TSearchResultList results, const TSearchFilter& filter) {
  TWaitCursor wait;
  Drop();
  results_ = std::make_unique<TSearchResultList>(std::move(results));
  const int found = results_->Count();
  if (Tree()) ApplySearchFilter(*results_, *Tree(), filter);
  RebuildViews();
  return found;
}

void TSearchSession::Drop() {
  ClearViews();
  results_.reset();
}

int TSearchSession::ItemOf(const TTOMONode* entry) const { return Items().ItemOf(entry); }

bool TSearchSession::HasItem(const TTOMONode* entry) const { return ItemOf(entry) >= 0; }

bool TSearchSession::IsHit(const TTOMONode* entry) const {
  const int item = ItemOf(entry);
  return item >= 0 && Items().Item(item).IsHit();
}

bool TSearchSession::MarkHits(const TTOMONode* entry) {
  if (!IsHit(entry)) return false;
  const std::unique_ptr<TSearchTextView> view = shownText_ ? shownText_() : nullptr;
  const TSearchResult& result = *Items().Item(ItemOf(entry)).Result;
  if (!view || result.Count() == 0) return false;
  result.Highlight(*view);
  // SelectNext moves past the caret, so a hit at the very start of the text
  // is selected directly.
  if (result.Ranges(0).Start <= view->SelectionStart()) {
    view->Select(result.Ranges(0).Start, result.Ranges(0).Length);
  } else {
    result.SelectNext(*view, true);
  }
  return true;
}

void TSearchSession::StepHit(const TTOMONode* entry, bool forward) {
  if (!IsHit(entry)) return;
  const std::unique_ptr<TSearchTextView> view = shownText_ ? shownText_() : nullptr;
  if (!view) return;
  const int item = ItemOf(entry);
  if (Items().Item(item).Result->SelectNext(*view, forward)) return;
  const int next = Items().NextHitWithRanges(item, forward);
  if (next < 0) return;
  FollowItem(next, true);
  const TSearchResult& result = *Items().Item(next).Result;
  emit ShowWanted(FindNode(result.DocumentId()));
  const std::unique_ptr<TSearchTextView> nextView = forward ? nullptr : shownText_();
  if (nextView && result.Count() > 0) {
    const TSearchRange& last = result.Ranges(result.Count() - 1);
    nextView->Select(last.Start, last.Length);
  }
}
