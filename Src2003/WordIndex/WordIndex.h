#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <string>

#include "SearchResultList.h"

class TWordIndexLock;
class TWordIndexLockCreate;
class TWordIndexLockUpdate;
class TWordIndexLockSearch;

// The program's side of the word index: starts and ends the engine, opens the
// index under the directory lock of its folder, and keeps the out-of-date
// marker. The index folder holds lock.dat, OutOfDate.txt and the engine
// folder TOMOACL.
class TWordIndex {
 public:
  using TFolderSource = std::function<std::string()>;
  using TPause = std::function<void(std::chrono::milliseconds)>;

  // Group of the words of all titles and summaries; entry Id 30000 therefore
  // has no document group.
  static constexpr int TitleGroup = 30000;
  // How long a directory lock of the index announces itself alive.
  static constexpr int kLockRefreshInterval = 5000;
  static constexpr std::chrono::milliseconds kRetryPause{500};

  // `indexFolder` gives the folder at each use, so that a changed setting
  // takes effect at once.
  explicit TWordIndex(TFolderSource indexFolder);
  explicit TWordIndex(const std::string& indexFolder);
  // Closes an index still open (its owner finds it unopened) and ends the
  // engine.
  ~TWordIndex();
  TWordIndex(const TWordIndex&) = delete;
  TWordIndex& operator=(const TWordIndex&) = delete;

  // The lock through which the index is open, or nullptr.
  TWordIndexLock* Lock() const { return lock_; }
  bool EngineStarted() const { return engineStarted_; }

  std::string IndexFolder() const { return indexFolder_(); }
  std::string EngineFolder() const;
  std::string MarkerFile() const;

  // Open the index for building from scratch (its old contents removed) or
  // for updating. The caller owns the lock and frees it to close the index.
  std::unique_ptr<TWordIndexLockCreate> OpenCreate();
  // OpenCreate for a full build, which stays marked out of date until it
  // completes (TIndexBuildSequence deletes the marker).
  std::unique_ptr<TWordIndexLockCreate> OpenRebuild();
  std::unique_ptr<TWordIndexLockUpdate> OpenUpdate();
  // Opens the index for searching `phrase` (Windows-1252), positioned on the
  // first match.
  std::unique_ptr<TWordIndexLockSearch> OpenSearch(const std::string& phrase);
  // The entries whose text, title or summary holds `phrase` (Windows-1252),
  // ascending by DocumentId.
  TSearchResultList Search(const std::string& phrase);

  // Where the phrase must lie for an entry to be kept: anywhere, or in its
  // title and summary (the search panel's "Buscar em" "Títulos").
  enum class TSearchScope { Everywhere, Titles };
  // Search(phrase) less the entries whose TitleMatch is false, with the same
  // ranges. With Titles only the title group and the document groups of the
  // entries it names are read.
  TSearchResultList Search(const std::string& phrase, TSearchScope scope);

  // Removes the engine folder. Refused with EWordIndexError while this
  // program has the index open, since its user would go on writing into it.
  void DeleteIndex();

  bool IsOutOfDate() const;
  // Writes OutOfDate.txt, creating the index folder if needed; raises
  // ELxInOutError when the file cannot be written.
  void MarkOutOfDate();
  // Deletes OutOfDate.txt; failure is ignored.
  void MarkUpToDate();

  // Replaces the pause between lock attempts; the program keeps its window
  // painted while it waits, tests count the pauses.
  void SetPause(TPause pause) { pause_ = std::move(pause); }
  void Pause(std::chrono::milliseconds duration) const { pause_(duration); }

 private:
  friend class TWordIndexLock;

  template <class TLockClass>
  std::unique_ptr<TLockClass> OpenLock(std::unique_ptr<TLockClass> lock);

  TFolderSource indexFolder_;
  TPause pause_;
  TWordIndexLock* lock_ = nullptr;
  bool engineStarted_ = false;
};

// The program's one word index, created at start-up before the main window
// and released at the end.
extern std::unique_ptr<TWordIndex> WordIndex;
