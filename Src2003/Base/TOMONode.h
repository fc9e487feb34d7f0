#pragma once

#include <cstdint>
#include <vector>

#include "TOMORecord.h"
#include "TOMOTreeIterators.h"

class TTOMOTree;

// One entry of the document tree: its record, and its children in the order
// they were attached (file order on loading). Nodes belong to their tree,
// which creates them (TTOMOTree::AddNode) and frees them.
//
// The parent is the node the tree finds under the record's ParentId. The
// children lists form a forest: a node is in at most one list, and a node is
// never attached below itself, so every walk ends.
class TTOMONode {
 public:
  // Only the tree makes nodes.
  class TKey {
    TKey() = default;
    friend class TTOMOTree;
  };
  TTOMONode(TKey, TTOMOTree& tree, TTOMORecordH record);
  TTOMONode(const TTOMONode&) = delete;
  TTOMONode& operator=(const TTOMONode&) = delete;

  TTOMOTree& Tree() const { return *tree_; }
  const TTOMORecordH& Record() const { return record_; }
  std::int32_t Id() const { return record_.Id; }

  // The node found under ParentId, or nullptr.
  TTOMONode* Parent() const;
  // 0 for a node without parent, else the parent's level + 1; -1 when the
  // chain of parents runs in a circle (a damaged base) and has no top.
  int Level() const;
  // 0 for a node without parent, else its position in the parent's children
  // list; -1 when the parent does not list it.
  int IndexInParent() const;

  int ChildCount() const { return static_cast<int>(children_.size()); }
  bool HasChildren() const { return !children_.empty(); }
  // Child `index` (0 .. ChildCount()-1).
  TTOMONode* Child(int index) const { return children_.at(static_cast<size_t>(index)); }
  TTOMOChildrenNodeIterator Children() const;

  // Depth-first, parent before children, children in list order; nullptr
  // after the last node below the walk's start.
  TTOMONode* NextInPreOrder() const;

  // Stores the date's whole day; a different day marks the node changed.
  void SetDocumentDate(TDateTime date);
  // A different size marks the node changed.
  void SetDocumentSize(std::int32_t size);
  // Forgets the date (it is read again from the document) without marking.
  void ClearDocumentDate() { record_.DocumentDate = 0; }
  // Setting the flag also marks the tree changed.
  void SetModified(bool flag);
  bool Modified() const { return changed_; }

  // Called on a node of a downloaded tree with the local node of the same Id:
  // true when there is no local node, or it changed earlier, or its document
  // is older.
  bool IsNewerThan(const TTOMONode* local) const;
  // True when this entry has a document and the local one is missing or older.
  bool HasNewerDocument(const TTOMONode* local) const;

 private:
  friend class TTOMOTree;

  // Position of `child` in children_, or -1; remembers where it was found so
  // that walks over wide folders stay linear.
  int IndexOfChild(const TTOMONode* child) const;
  void InsertChild(int index, TTOMONode* child);
  void RemoveChild(TTOMONode* child);

  TTOMOTree* tree_;
  TTOMORecordH record_;
  std::vector<TTOMONode*> children_;
  // The node whose children list holds this one (nullptr when detached).
  TTOMONode* listedIn_ = nullptr;
  // Where this node sat in listedIn_'s list when last seen; only a hint.
  mutable std::int32_t positionHint_ = 0;
  bool changed_ = false;
  // Level() remembered for the tree's shape of that moment.
  mutable int level_ = 0;
  mutable std::uint64_t levelShape_ = 0;
};
