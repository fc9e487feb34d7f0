#pragma once

// What an update takes from a new tree: the entries to merge into the
// installed tree and, among them, those whose document must be installed.
// Applying a package, the Internet update and make-package all compare
// trees here, so that a package holds exactly what applying it takes.

#include <cstdint>
#include <vector>

#include "LxDateTime.h"

class TTOMONode;
class TTOMOTree;

struct TUpdateList {
  // Nodes of the new tree to merge, in pre-order (parents first).
  std::vector<TTOMONode*> ChangedNodes;
  // The changed nodes whose document is newer than the installed one.
  std::vector<TTOMONode*> DocumentNodes;
};

// Today at 0:00, local time.
TDateTime Today();

// Walks `newTree` in pre-order from the root. A node is taken when `today`
// equals its Changed or its DocumentDate (a date with a time of day never
// does), or when it is newer than the installed node of its Id (IsNewerThan;
// `installed` may be nullptr: everything is new). A taken node's document is
// taken when HasNewerDocument holds and its number names a document file.
TUpdateList BuildUpdateList(const TTOMOTree& newTree, const TTOMOTree* installed, TDateTime today);
