#pragma once

#include <cstdint>
#include <deque>
#include <string>

#include "LxMap.h"
#include "TOMONode.h"
#include "TOMOTreeIterators.h"

// The document tree: the in-memory form of a base's index file. The tree owns
// its nodes and finds them by Id; the root is the node with Id 0.
//
//   TTOMOTree tree(dataFolder);               // loads TOMOIdx.dat
//   for (auto it = tree.Iterator(); !it.Eof(); it.Next()) ...
//   node->SetDocumentSize(n);                 // marks node and tree changed
//   if (tree.Modified()) { tree.SaveToFile(dataFolder); tree.SetModified(false); }
class TTOMOTree {
 public:
  // An empty tree (no root).
  TTOMOTree();
  // Loads the folder's index file. The first record becomes the root of the
  // file (its ParentId is forced to -1); a record whose parent comes later in
  // the file stays unattached. Errors of the index file propagate, and a
  // record that is its own parent raises ETOMOFileError
  // "Registro inválido: nó pai e filho são o mesmo".
  explicit TTOMOTree(const std::string& folder);
  ~TTOMOTree();
  TTOMOTree(const TTOMOTree&) = delete;
  TTOMOTree& operator=(const TTOMOTree&) = delete;

  TTOMONode* FindNode(std::int32_t id) const;
  TTOMONode* Root() const { return FindNode(0); }
  TTOMOTreeIterator Iterator() const { return TTOMOTreeIterator(*this); }
  // Nodes the tree holds, reachable or not (deleted ones excluded).
  std::int32_t NodeCount() const { return static_cast<std::int32_t>(nodes_.size()) - deletedNodes_; }

  // Creates a node from the record, enters it under its Id (replacing the map
  // entry of an earlier node with that Id, which stays where it is attached)
  // and attaches it to its parent, if that exists.
  TTOMONode& AddNode(TTOMORecordH record);
  // Detaches the node from its parent and removes it from the map; no lookup
  // or walk meets it again. Its children stay in the tree, unattached. (Its
  // memory returns with the tree's.)
  void DeleteNode(TTOMONode& node);

  // Writes every node reachable from the root, in pre-order, as the folder's
  // index file (through the commit protocol).
  void SaveToFile(const std::string& folder) const;

  // Takes over a node of another tree: its record, its parent and its place
  // among its siblings. Marks this tree changed. A record that would become
  // its own parent or ancestor raises ETOMOFileError before anything changes.
  TTOMONode& MergeNode(const TTOMONode& other);

  // Clearing the flag also clears every node's flag.
  void SetModified(bool flag);
  bool Modified() const { return changed_; }

 private:
  friend class TTOMONode;

  void EnterInMap(TTOMONode& node);
  // Appends the node to its parent's children; nothing when there is none.
  void AttachToParent(TTOMONode& node);
  void Detach(TTOMONode& node);
  // Raises when attaching `node` below `parent` would close a circle.
  static void CheckParent(const TTOMONode& node, const TTOMONode* parent);
  void MoveAmongSiblings(TTOMONode& node, int wanted);

  TLxIntegerToIntegerMap nodesById_;
  // The nodes themselves, in blocks: a base holds hundreds of thousands, and
  // one allocation each would cost more than reading them. Nodes never move.
  std::deque<TTOMONode> nodes_;
  std::int32_t deletedNodes_ = 0;
  // Grows whenever a node's parent may have changed (starts above every
  // node's remembered shape, so that no level is trusted before it is known).
  std::uint64_t shapeVersion_ = 1;
  bool changed_ = false;
};
