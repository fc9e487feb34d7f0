#include "TOMOTreeIterators.h"

#include "TOMOTree.h"

TTOMOTreeIterator::TTOMOTreeIterator(const TTOMOTree& tree) : tree_(&tree) { First(); }

void TTOMOTreeIterator::First() { current_ = tree_->Root(); }

void TTOMOTreeIterator::Next() {
  if (current_ != nullptr) current_ = current_->NextInPreOrder();
}

bool TTOMOChildrenNodeIterator::Eof() const { return index_ >= node_->ChildCount(); }

TTOMONode* TTOMOChildrenNodeIterator::Current() const { return node_->Child(index_); }
