#pragma once

#include <functional>
#include <unordered_map>
#include <vector>

#include <QObject>

#include "TOMOHyperlink.h"

class TInstalledCollection;
class TTOMONode;
class TTextView;

// The text document the reader view shows: its body loaded into the view,
// the links and line starts built from it, the date and size its entry
// learns (and the tree save that follows), and where the user left each
// text, so that it opens there again.
//
//   view.Shown().SetCollection(&collection);
//   view.Shown().Load(entry);          // the text, its links, its facts saved
//   view.Shown().StoreScroll(entry.Id());
class TShownDocument : public QObject {
  Q_OBJECT

 public:
  // Whether the entry with this Id is still the one on screen.
  using TStillShown = std::function<bool(int id)>;

  explicit TShownDocument(TTextView& view);

  // The collection whose tree gives the links' targets and records what the
  // entries learn (nullptr: none).
  void SetCollection(TInstalledCollection* collection) { collection_ = collection; }
  void SetStillShown(TStillShown stillShown) { stillShown_ = std::move(stillShown); }

  // Shows the text entry's document. A document that cannot be read is
  // reported, forgets its date and shows the error text instead.
  void Load(TTOMONode& entry);
  // No text, no links, no line starts.
  void Clear();
  const std::vector<TTOMOHyperlinkRecord>& Links() const { return links_; }
  const std::vector<int>& LineStarts() const { return lineStarts_; }
  // Follows link `number` of the text: an address opens outside the
  // program, an entry is asked for through EntryWanted. Raises when the
  // number or the entry does not exist.
  void FollowLink(int number);

  // Keeps the view's scroll position for the entry, and brings it back
  // (the top for an entry never kept).
  void StoreScroll(int id);
  void RestoreScroll(int id);

 signals:
  // The entry's document was read (or failed): its icon may have changed.
  // Comes before the tree is saved.
  void Loaded(TTOMONode* entry);
  void EntryWanted(TTOMONode* entry);

 private:
  void LoadBody(TTOMONode& entry);
  void ShowError(TTOMONode& entry);
  TTOMONode* FindNode(int id) const;

  TTextView& view_;
  TInstalledCollection* collection_ = nullptr;
  TStillShown stillShown_;
  std::vector<TTOMOHyperlinkRecord> links_;
  std::vector<int> lineStarts_;
  // Text scroll position by entry Id, in 1/65536 of the range.
  std::unordered_map<int, int> scrollById_;
};
