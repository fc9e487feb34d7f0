#pragma once

// The open index: its folder, the hint file behind the block cache, and the
// group being built. Every operation is ignored while no index is open, and
// for words or groups outside their ranges.

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "BlockCache.h"
#include "ElementArena.h"
#include "FolderKind.h"
#include "GroupFolders.h"
#include "HintRows.h"
#include "SearchResultCache.h"
#include "SessionHintRows.h"
#include "lexdex.h"

namespace lexdex {

// Open modes (bits of the flags of Open), as the public header names them.
inline constexpr int kOpenCreate = ACL_OPEN_CREATE;
inline constexpr int kOpenUpdate = ACL_OPEN_UPDATE;
inline constexpr int kOpenNoWriteBack = ACL_OPEN_SEARCH_ONLY;
inline constexpr int kNoGroup = -1;

class Index {
 public:
  Index() = default;
  Index(const Index&) = delete;
  Index& operator=(const Index&) = delete;
  ~Index() { Close(); }

  // 0 on success, 1 when hint.il cannot be opened or created. An index that
  // is still open is closed first.
  int Open(const std::string& folder, int flags);
  void Close();
  bool IsOpen() const { return hint_ != nullptr; }

  void BeginGroup(int group);
  void AddElem(const std::uint8_t* word, long long length, std::int32_t a, std::int32_t b);
  // False when no group file was written.
  bool EndGroup();
  void DeleteGroup(int group);
  bool GroupExist(int group) const;

  const std::string& Folder() const { return folder_; }
  // True when a change to the index files failed since Open (kept after
  // Close until the next Open): the index no longer answers for its groups.
  bool WriteFailed() const { return writeFailed_ || cache_.WriteFailed(); }
  BlockCache& Cache() { return cache_; }

  // Searching. In search-only mode a search picks its groups from the hint
  // rows of its words (read once per session), reads all its group files at
  // once, and its triples are kept in the process's result cache; rows and
  // cache follow the hint file when it has changed since they were last
  // checked.
  void RefreshForSearch();
  HintRows Rows() { return HintRows(cache_); }
  bool IsSearchOnly() const { return searchOnly_; }
  SearchResultCache& Results() { return results_; }
  FolderKind Kind() const { return kind_; }
  // Search-only mode: the groups (all, or those of `only`, ascending) whose
  // hint bits are set for every one of `hashes`, ascending.
  std::vector<int> CandidateGroups(const std::vector<std::uint32_t>& hashes, const std::vector<int>* only);
  // Search-only mode: the group folders, those of `groups` opened where the
  // folder is local (a network folder's files are opened by path).
  GroupFolders& FoldersOpenFor(const std::vector<int>& groups);
  // What the sessions have read and may keep: hint rows and open folders.
  std::size_t HintRowsHeld() const { return hintRows_.RowsHeld(); }
  std::size_t GroupFoldersOpen() const { return groupFolders_.OpenCount(); }

 private:
  // This process changes a group: what it cached is no longer the index.
  void NoteGroupChange();
  // A search-only Open: learns where the folder lies and checks the cache
  // against the hint file as just opened, whose stamp is `opened`.
  void BeginSearchSession(const FileStamp& opened);
  // Follows the hint file to `stamp`: its length and the rows read from it.
  // `sameVersion`: the file is as a session before last saw it, and what was
  // read settled then stays.
  void AdoptHintStamp(const FileStamp& stamp, bool sameVersion);
  // Nothing read so far serves a later session.
  void ForgetReadings();

  std::string folder_;
  std::FILE* hint_ = nullptr;
  BlockCache cache_;
  ElementArena arena_;
  int group_ = kNoGroup;
  std::vector<std::uint8_t> fileBytes_;  // a group file being written or deleted
  bool searchOnly_ = false;
  bool wroteGroups_ = false;  // since Open: the hint file must show a change
  bool writeFailed_ = false;
  SessionHintRows hintRows_;
  FileStamp hintStamp_;       // of the hint file whose rows are read
  bool hintStampKnown_ = false;
  bool stampJustTaken_ = false;  // at Open, not yet used by a search
  // Kept across sessions: the folder whose readings they are (empty: none),
  // the folders opened by searches.
  std::string readingsFolder_;
  GroupFolders groupFolders_;
  FolderKind kind_ = FolderKind::Local;
  std::string kindFolder_;    // the folder whose kind is known
  SearchResultCache results_;  // kept across Close and Open
};

}  // namespace lexdex
