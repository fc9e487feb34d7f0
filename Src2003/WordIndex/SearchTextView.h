#pragma once

// What a search result needs from the text view that shows its document:
// a selection, and a way to mark the selected characters as a hit. Positions
// count characters with a line break as one, as the index stores them. The
// window layer implements it over its rich-text view.
class TSearchTextView {
 public:
  virtual ~TSearchTextView() = default;

  virtual int SelectionStart() const = 0;
  virtual int SelectionLength() const = 0;
  virtual void Select(int start, int length) = 0;
  // Black text on yellow, bold added to the style already there.
  virtual void MarkSelectionAsHit() = 0;
  // Marking many ranges repaints once, when the marking is done.
  virtual void SuspendRepaint() = 0;
  virtual void ResumeRepaint() = 0;
};
