#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class TSearchTextView;

// Characters of an entry's text to highlight.
struct TSearchRange {
  std::int32_t Start = 0;
  std::int32_t Length = 0;

  std::int32_t End() const { return Start + Length; }
  bool operator==(const TSearchRange&) const = default;
};

// One entry that matches a search: the ranges of its text where the phrase
// occurs, and whether its title or summary holds the phrase.
class TSearchResult {
 public:
  explicit TSearchResult(std::int32_t documentId) : documentId_(documentId) {}

  std::int32_t DocumentId() const { return documentId_; }
  bool TitleMatch() const { return titleMatch_; }
  void SetTitleMatch(bool titleMatch) { titleMatch_ = titleMatch; }

  int Count() const { return static_cast<int>(ranges_.size()); }
  const TSearchRange& Ranges(int index) const { return ranges_.at(static_cast<std::size_t>(index)); }
  const std::vector<TSearchRange>& AllRanges() const { return ranges_; }

  void AddRange(std::int32_t start, std::int32_t length);

  // Merges the ranges of `other`, a result for the same entry, into these:
  // overlapping and touching ranges become one.
  //   (10,5) + (12,6) gives (10,8); (10,5) + (15,2) gives (10,7);
  //   (10,5) + (30,2) gives (10,5), (30,2).
  // Results of different entries are an assertion failure (WordIndexUnit).
  void MergeRanges(const TSearchResult& other);

  // Marks every range in `view` as a hit, keeping the view's selection.
  void Highlight(TSearchTextView& view) const;
  // Selects the first range starting after the caret (forward) or the last
  // one starting before it (backward); nothing changes when there is none.
  // Returns whether a range was selected.
  bool SelectNext(TSearchTextView& view, bool forward) const;

 private:
  void MergeRange(const TSearchRange& range);

  std::int32_t documentId_;
  bool titleMatch_ = false;
  std::vector<TSearchRange> ranges_;
};
