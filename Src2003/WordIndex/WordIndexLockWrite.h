#pragma once

#include <string>
#include <vector>

#include "TOMORecord.h"
#include "WordIndexLock.h"

class TTOMOTree;

// A lock that may write: indexes documents and the title group.
class TWordIndexLockWrite : public TWordIndexLock {
 public:
  // Closes the engine and lets the folder go; true when every change reached
  // the index files. After false the index may answer wrongly until rebuilt.
  bool Finish();
  using TWordIndexLock::TWordIndexLock;

  // Indexes `text` (Windows-1252 plain text, CR LF line breaks) as the group
  // of entry `group`. Returns the number of words passed to the engine; 0
  // when nothing was done (the index was closed, the group was refused, or
  // `group` is no document group: outside 0..65535 or the title group).
  int IndexText(int group, std::string text);
  // Rebuilds the title group from the titles and summaries of all entries of
  // `tree` that have a document. Raises ELxException "Erro na classificação"
  // if the entries do not ascend by Id after sorting.
  void IndexTitles(const TTOMOTree& tree);
  // The same from copies of the entries (any order; folders are skipped).
  void IndexTitles(std::vector<TTOMORecordH> entries);
};

// Builds the index from scratch: its old contents are removed when the lock
// is taken.
class TWordIndexLockCreate : public TWordIndexLockWrite {
 public:
  using TWordIndexLockWrite::TWordIndexLockWrite;
  // `markOutOfDate`: the index is marked out of date once the lock is held
  // and before anything is removed, so that a build cut short by a crash
  // leaves an index that says so.
  TWordIndexLockCreate(TWordIndex& owner, bool markOutOfDate)
      : TWordIndexLockWrite(owner), markOutOfDate_(markOutOfDate) {}

 protected:
  bool Open(const std::string& path) override;
  bool PrepareGroup(int group) override;

 private:
  bool markOutOfDate_ = false;
};

// Re-indexes single documents of an existing index.
class TWordIndexLockUpdate : public TWordIndexLockWrite {
 public:
  using TWordIndexLockWrite::TWordIndexLockWrite;

 protected:
  bool Open(const std::string& path) override;
  // Deletes the group's old words, so that re-indexing replaces them.
  bool PrepareGroup(int group) override;
};
