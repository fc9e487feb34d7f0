#include "SearchResult.h"

#include <algorithm>

#include "LxExcept.h"
#include "SearchTextView.h"

void TSearchResult::AddRange(std::int32_t start, std::int32_t length) {
  ranges_.push_back({start, length});
}

void TSearchResult::MergeRanges(const TSearchResult& other) {
  if (other.documentId_ != documentId_) {
    throw ELxAssertionFailed(
        FormatMessage("Não é possível unir os trechos de entradas diferentes (%d e %d)",
                      static_cast<int>(documentId_), static_cast<int>(other.documentId_)),
        "WordIndexUnit");
  }
  // Last to first: each range is merged into an ascending, overlap-free list.
  for (auto range = other.ranges_.rbegin(); range != other.ranges_.rend(); ++range) {
    MergeRange(*range);
  }
}

void TSearchResult::MergeRange(const TSearchRange& range) {
  // Ranges ending before `range` starts stay as they are.
  auto first = std::find_if(ranges_.begin(), ranges_.end(),
                            [&](const TSearchRange& q) { return q.End() >= range.Start; });
  auto pastTaken = first;
  std::int32_t end = range.End();
  for (; pastTaken != ranges_.end() && pastTaken->Start <= end; ++pastTaken) {
    end = std::max(end, pastTaken->End());
  }
  if (pastTaken == first) {
    ranges_.insert(first, range);
    return;
  }
  first->Start = std::min(first->Start, range.Start);
  first->Length = end - first->Start;
  ranges_.erase(first + 1, pastTaken);
}

void TSearchResult::Highlight(TSearchTextView& view) const {
  const int selectionStart = view.SelectionStart();
  const int selectionLength = view.SelectionLength();
  view.SuspendRepaint();
  // The view is left as it was found even when marking fails half-way.
  struct TRestore {
    TSearchTextView& View;
    int Start;
    int Length;
    ~TRestore() {
      View.ResumeRepaint();
      View.Select(Start, Length);
    }
  } restore{view, selectionStart, selectionLength};
  for (const TSearchRange& range : ranges_) {
    view.Select(range.Start, range.Length);
    view.MarkSelectionAsHit();
  }
}

bool TSearchResult::SelectNext(TSearchTextView& view, bool forward) const {
  const int caret = view.SelectionStart();
  const TSearchRange* target = nullptr;
  if (forward) {
    auto found = std::find_if(ranges_.begin(), ranges_.end(),
                              [&](const TSearchRange& range) { return range.Start > caret; });
    if (found != ranges_.end()) target = &*found;
  } else {
    auto found = std::find_if(ranges_.rbegin(), ranges_.rend(),
                              [&](const TSearchRange& range) { return range.Start < caret; });
    if (found != ranges_.rend()) target = &*found;
  }
  if (target) view.Select(target->Start, target->Length);
  return target != nullptr;
}
