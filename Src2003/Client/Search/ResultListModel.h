#pragma once

#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

#include <QAbstractListModel>
#include <QMetaType>

#include "SearchResult.h"

class TResultTree;
class TTOMONode;

// The line of text around a row's first hit, ready to draw: the hit ranges
// are offsets into Text.
struct TRowSnippet {
  QString Text;
  std::vector<TSearchRange> Hits;
};
Q_DECLARE_METATYPE(TRowSnippet)

// The result list's rows: the items of the result tree in its display order
// (depth-first, parents before children). Roles as the document list's, the
// level being the item's depth + 1; hits with ranges in their text also give
// a snippet of it.
class TResultListModel : public QAbstractListModel {
  Q_OBJECT

 public:
  // Whether the row shows a snippet (a hit with ranges): known at once, so
  // that rows are measured without reading any text.
  static constexpr int kHasSnippetRole = Qt::UserRole + 10;
  // The row's TRowSnippet once made; until then nothing, and the row is
  // queued: snippets are made after the paint that asked for them, for the
  // rows on screen only, and the rows repaint when they are ready.
  static constexpr int kSnippetRole = Qt::UserRole + 11;

  // The plain text of an entry's document (the word index's text); raises
  // when it cannot be read.
  using TTextSource = std::function<std::string(const TTOMONode& entry)>;

  explicit TResultListModel(const TResultTree& items, QObject* parent = nullptr);

  void SetTextSource(TTextSource source) { textSource_ = std::move(source); }

  // Bracket a change of the items, so that the view lets go of the old rows
  // first.
  void BeginRebuild();
  void EndRebuild() { endResetModel(); }
  // The result tree item of a row, or -1.
  int ItemAt(int row) const;
  // Makes the snippets of the rows asked for so far.
  void MakePendingSnippets();

  int rowCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

 private:
  QVariant SnippetOf(int row, int item) const;
  TRowSnippet MakeSnippet(int item) const;

  const TResultTree& items_;
  TTextSource textSource_;
  mutable std::unordered_map<int, TRowSnippet> snippetByRow_;
  mutable std::vector<int> pendingRows_;
};
