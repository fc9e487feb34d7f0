#include "ToolCollection.h"

#include "TOMOTree.h"

TToolCollection::TToolCollection(const std::string& dataFolder, TWordIndex* titleIndex)
    : documents_(dataFolder),
      collection_([dataFolder] { return dataFolder; }, [titleIndex] { return titleIndex; }) {
  collection_.LoadTree();
}

TTOMOTree& TToolCollection::Tree() const { return *collection_.Tree(); }
