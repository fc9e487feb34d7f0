#pragma once

#include <string>

#include "InstalledCollection.h"
#include "TOMODocumentSet.h"

class TTOMOTree;
class TWordIndex;

// The installed collection of a data folder named on the command line: the
// same service the program's main window observes, with the folder's
// documents as the program-wide document source. The tree is loaded at once;
// a missing folder or a damaged index file raises its error.
//
//   TToolCollection base(arguments[0]);
//   for (auto it = base.Tree().Iterator(); !it.Eof(); it.Next()) ...
class TToolCollection {
 public:
  // `titleIndex` (not owned, may be nullptr) gets the title words of every save.
  explicit TToolCollection(const std::string& dataFolder, TWordIndex* titleIndex = nullptr);

  TInstalledCollection& Collection() { return collection_; }
  TTOMOTree& Tree() const;
  TTOMODocumentSet& Documents() { return documents_; }

 private:
  TTOMODocumentFolder documents_;
  TInstalledCollection collection_;
};
