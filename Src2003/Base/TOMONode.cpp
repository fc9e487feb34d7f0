#include "TOMONode.h"

#include <algorithm>
#include <cmath>

#include "TOMOTree.h"

TTOMONode::TTOMONode(TKey, TTOMOTree& tree, TTOMORecordH record) : tree_(&tree), record_(std::move(record)) {}

TTOMONode* TTOMONode::Parent() const { return tree_->FindNode(record_.ParentId); }

int TTOMONode::Level() const {
  const std::uint64_t shape = tree_->shapeVersion_;
  if (levelShape_ == shape) return level_;
  // Climb to the first node whose level is known (or to a top), then hand the
  // levels down: a walk over the whole tree stays linear even when the base
  // is one long chain of parents.
  std::vector<const TTOMONode*> climbed;
  const std::size_t maxSteps = static_cast<std::size_t>(tree_->NodeCount()) + 1;
  int above = -1;  // level of the node above the highest climbed one
  bool inCircle = false;
  for (const TTOMONode* node = this; node != nullptr; node = node->Parent()) {
    if (node->levelShape_ == shape) {
      above = node->level_;
      inCircle = above < 0;
      break;
    }
    // A damaged base may make two records each other's parent; more steps
    // than there are nodes means the chain runs in a circle and has no top.
    if (climbed.size() > maxSteps) {
      inCircle = true;
      break;
    }
    climbed.push_back(node);
  }
  for (auto node = climbed.rbegin(); node != climbed.rend(); ++node) {
    (*node)->level_ = inCircle ? -1 : ++above;
    (*node)->levelShape_ = shape;
  }
  return level_;
}

int TTOMONode::IndexInParent() const {
  const TTOMONode* parent = Parent();
  return parent == nullptr ? 0 : parent->IndexOfChild(this);
}

TTOMOChildrenNodeIterator TTOMONode::Children() const { return TTOMOChildrenNodeIterator(*this); }

int TTOMONode::IndexOfChild(const TTOMONode* child) const {
  const std::int32_t hint = child->positionHint_;
  if (hint >= 0 && hint < ChildCount() && children_[static_cast<size_t>(hint)] == child) return hint;
  const auto found = std::find(children_.begin(), children_.end(), child);
  if (found == children_.end()) return -1;
  child->positionHint_ = static_cast<std::int32_t>(found - children_.begin());
  return child->positionHint_;
}

void TTOMONode::InsertChild(int index, TTOMONode* child) {
  children_.insert(children_.begin() + index, child);
  child->listedIn_ = this;
  child->positionHint_ = index;
}

void TTOMONode::RemoveChild(TTOMONode* child) {
  const int index = IndexOfChild(child);
  if (index >= 0) children_.erase(children_.begin() + index);
  child->listedIn_ = nullptr;
}

TTOMONode* TTOMONode::NextInPreOrder() const {
  if (HasChildren()) return children_.front();
  // Climb through the lists that hold the nodes: they form a forest, so the
  // climb ends even when records name each other as parents.
  const TTOMONode* node = this;
  while (const TTOMONode* holder = node->listedIn_) {
    const int index = holder->IndexOfChild(node);
    if (index + 1 < holder->ChildCount()) {
      TTOMONode* next = holder->children_[static_cast<size_t>(index + 1)];
      next->positionHint_ = index + 1;
      return next;
    }
    node = holder;
  }
  return nullptr;
}

void TTOMONode::SetDocumentDate(TDateTime date) {
  const TDateTime day = std::trunc(date);
  if (day != record_.DocumentDate && !changed_) SetModified(true);
  record_.DocumentDate = day;
}

void TTOMONode::SetDocumentSize(std::int32_t size) {
  if (size != record_.DocumentSize && !changed_) SetModified(true);
  record_.DocumentSize = size;
}

void TTOMONode::SetModified(bool flag) {
  changed_ = flag;
  if (flag) tree_->changed_ = true;
}

bool TTOMONode::IsNewerThan(const TTOMONode* local) const {
  return local == nullptr || local->record_.Changed < record_.Changed ||
         local->record_.DocumentDate < record_.DocumentDate;
}

bool TTOMONode::HasNewerDocument(const TTOMONode* local) const {
  return record_.DocumentNumber != 0 &&
         (local == nullptr || local->record_.DocumentDate < record_.DocumentDate);
}
