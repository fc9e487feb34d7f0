#pragma once

class TTOMOTree;
class TTOMONode;

// Walks a tree in pre-order from its root (the node with Id 0):
//   for (auto it = tree.Iterator(); !it.Eof(); it.Next()) use(*it.Current());
class TTOMOTreeIterator {
 public:
  // Positioned on the root.
  explicit TTOMOTreeIterator(const TTOMOTree& tree);
  void First();
  bool Eof() const { return current_ == nullptr; }
  void Next();
  TTOMONode* Current() const { return current_; }

 private:
  const TTOMOTree* tree_;
  TTOMONode* current_ = nullptr;
};

// Walks the children of one node in order.
class TTOMOChildrenNodeIterator {
 public:
  explicit TTOMOChildrenNodeIterator(const TTOMONode& node) : node_(&node) {}
  void First() { index_ = 0; }
  bool Eof() const;
  void Next() { ++index_; }
  TTOMONode* Current() const;

 private:
  const TTOMONode* node_;
  int index_ = 0;
};
