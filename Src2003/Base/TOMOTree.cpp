#include "TOMOTree.h"

#include <algorithm>

#include "TOMOFile.h"
#include "TOMOFileError.h"
#include "TOMOFileIterator.h"

namespace {

constexpr std::int32_t kRootParentId = -1;
constexpr std::int32_t kFirstMapCapacity = 1024;

[[noreturn]] void RaiseSelfParent() {
  throw ETOMOFileError("Registro inválido: nó pai e filho são o mesmo");
}

}  // namespace

TTOMOTree::TTOMOTree() = default;

TTOMOTree::TTOMOTree(const std::string& folder) {
  TTOMOFileIterator records(folder);
  for (; !records.Eof(); records.Next()) {
    TTOMORecordH& record = records.Current();
    if (nodesById_.Count() == 0) record.ParentId = kRootParentId;
    AddNode(std::move(record));
  }
}

TTOMOTree::~TTOMOTree() = default;

TTOMONode* TTOMOTree::FindNode(std::int32_t id) const { return nodesById_.GetAs<TTOMONode>(id); }

void TTOMOTree::EnterInMap(TTOMONode& node) {
  // The map grows by a fixed step; on a base of many thousand entries that
  // would copy the whole map again and again, so room is made in doubling
  // steps here.
  if (nodesById_.Count() == nodesById_.Capacity()) {
    nodesById_.SetCapacity(std::max(kFirstMapCapacity, nodesById_.Capacity() * 2));
  }
  nodesById_.Put(node.Id(), &node);
  ++shapeVersion_;
}

TTOMONode& TTOMOTree::AddNode(TTOMORecordH record) {
  TTOMONode& node = nodes_.emplace_back(TTOMONode::TKey(), *this, std::move(record));
  EnterInMap(node);
  AttachToParent(node);
  return node;
}

void TTOMOTree::DeleteNode(TTOMONode& node) {
  Detach(node);
  for (TTOMONode* child : node.children_) child->listedIn_ = nullptr;
  // A later node with the same Id may own the map entry by now.
  if (FindNode(node.Id()) == &node) nodesById_.Put(node.Id(), 0);
  node.children_.clear();
  node.changed_ = false;
  ++deletedNodes_;
  ++shapeVersion_;
}

void TTOMOTree::CheckParent(const TTOMONode& node, const TTOMONode* parent) {
  for (const TTOMONode* above = parent; above != nullptr; above = above->listedIn_) {
    if (above == &node) RaiseSelfParent();
  }
}

void TTOMOTree::AttachToParent(TTOMONode& node) {
  TTOMONode* parent = FindNode(node.record_.ParentId);
  if (parent == nullptr) return;
  // A node without children can only close a circle by being its own parent;
  // checking just that keeps loading a long chain of parents linear.
  if (node.HasChildren()) {
    CheckParent(node, parent);
  } else if (parent == &node) {
    RaiseSelfParent();
  }
  parent->InsertChild(parent->ChildCount(), &node);
  node.record_.ParentId = parent->Id();
}

void TTOMOTree::Detach(TTOMONode& node) {
  if (node.listedIn_ != nullptr) node.listedIn_->RemoveChild(&node);
}

void TTOMOTree::SaveToFile(const std::string& folder) const {
  TTOMOFile writer(folder);
  if (const TTOMONode* root = Root()) {
    TTOMORecordH top = root->record_;
    top.ParentId = kRootParentId;
    writer.WriteRecordLine(top);
    for (const TTOMONode* node = root->NextInPreOrder(); node != nullptr; node = node->NextInPreOrder()) {
      writer.WriteRecordLine(node->record_);
    }
  }
  writer.Commit();
}

TTOMONode& TTOMOTree::MergeNode(const TTOMONode& other) {
  const TTOMORecordH& record = other.record_;
  TTOMONode* node = FindNode(record.Id);
  // Check before touching anything, so that a bad record leaves the tree whole.
  if (record.ParentId == record.Id) RaiseSelfParent();
  if (node != nullptr && node->record_.ParentId != record.ParentId) CheckParent(*node, FindNode(record.ParentId));

  SetModified(true);
  ++shapeVersion_;
  if (node == nullptr) {
    node = &AddNode(record);
  } else if (node->record_.ParentId == record.ParentId) {
    node->record_ = record;
  } else {
    Detach(*node);
    node->record_ = record;
    AttachToParent(*node);
  }
  MoveAmongSiblings(*node, other.IndexInParent());
  return *node;
}

void TTOMOTree::MoveAmongSiblings(TTOMONode& node, int wanted) {
  TTOMONode* holder = node.listedIn_;
  if (holder == nullptr) return;
  const int current = holder->IndexOfChild(&node);
  if (wanted >= holder->ChildCount()) wanted = holder->ChildCount() - 1;
  if (wanted < 0 || wanted == current) return;
  holder->children_.erase(holder->children_.begin() + current);
  holder->InsertChild(wanted, &node);
}

void TTOMOTree::SetModified(bool flag) {
  changed_ = flag;
  if (flag) return;
  for (TTOMONode& node : nodes_) node.changed_ = false;
}
