#pragma once

#include "SearchTextView.h"

class QTextEdit;

// A search result's view of the text control: selecting ranges (scrolled
// into sight) and marking them as hits, black on yellow and bold. While
// repainting is suspended, selections stay here and the control is neither
// moved nor scrolled: marking the hits of a long text lays out no more of
// it than showing the first hit does.
class TTextHitMarks : public TSearchTextView {
 public:
  explicit TTextHitMarks(QTextEdit& edit) : edit_(edit) {}

  int SelectionStart() const override;
  int SelectionLength() const override;
  void Select(int start, int length) override;
  void MarkSelectionAsHit() override;
  void SuspendRepaint() override;
  void ResumeRepaint() override;

 private:
  struct TSelection {
    int Start = 0;
    int Length = 0;
  };

  QTextEdit& edit_;
  bool suspended_ = false;
  TSelection held_;
};
