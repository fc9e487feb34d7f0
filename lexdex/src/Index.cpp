#include "Index.h"

#include <filesystem>

#include <system_error>
#include <utility>

#include "GroupReader.h"
#include "FileWrites.h"
#include "GroupWriter.h"
#include "HintBits.h"
#include "IndexPaths.h"
#include "Word.h"

namespace lexdex {
int Index::Open(const std::string& folder, int flags) {
  Close();
  if (flags & kOpenCreate) {
    std::error_code ignored;  // an existing folder is fine; any other failure shows at fopen
    std::filesystem::create_directory(folder, ignored);
  }
  const char* mode = (flags & kOpenCreate) ? "w+b" : (flags & kOpenUpdate) ? "r+b" : "rb";
  writeFailed_ = false;
  std::FILE* hint = std::fopen(HintFilePath(folder).c_str(), mode);
  if (hint == nullptr) return 1;
  // A folder (or a device) under the hint file's name opens, but reads as no
  // words at all: an index that answers "nothing found" for everything. The
  // same look gives the file's length and, for searching, its stamp.
  const std::optional<FileStamp> opened = StampOfOpenPlainFile(hint, HintFilePath(folder));
  if (!opened) {
    std::fclose(hint);
    return 1;
  }

  const std::uint32_t blocks = (flags & kOpenCreate) ? 0 : static_cast<std::uint32_t>(opened->size / kBlockSize);
  folder_ = folder;
  hint_ = hint;
  cache_.Attach(hint_, blocks, !(flags & kOpenNoWriteBack));
  group_ = kNoGroup;
  searchOnly_ = !(flags & (kOpenCreate | kOpenUpdate));
  wroteGroups_ = false;
  hintStampKnown_ = false;
  stampJustTaken_ = false;
  if (searchOnly_) {
    BeginSearchSession(*opened);
  } else {
    ForgetReadings();  // this session may change what they show
  }
  return 0;
}

void Index::BeginSearchSession(const FileStamp& opened) {
  if (kindFolder_ != folder_) {
    kind_ = KindOfFolder(folder_);
    kindFolder_ = folder_;
  }
  const bool sameVersion = readingsFolder_ == folder_ && opened == hintStamp_;
  results_.BeginSession(folder_, opened, SessionClock::now());
  AdoptHintStamp(opened, sameVersion);
  stampJustTaken_ = true;
}

void Index::RefreshForSearch() {
  if (!searchOnly_) return;
  // The first search of a session goes by the stamp its Open just took.
  if (std::exchange(stampJustTaken_, false)) {
    results_.Validate(folder_, hintStamp_, SessionClock::now());
    return;
  }
  const std::optional<FileStamp> stamp = StampOf(HintFilePath(folder_));
  if (!stamp) {
    results_.Clear();  // the rows already read serve what they can
    return;
  }
  results_.Validate(folder_, *stamp, SessionClock::now());
  if (!hintStampKnown_ || *stamp != hintStamp_) AdoptHintStamp(*stamp, false);
}

void Index::AdoptHintStamp(const FileStamp& stamp, bool sameVersion) {
  // A partial last block reads as zeros: only whole blocks count.
  const std::uint64_t wholeBlocks = stamp.size / kBlockSize * kBlockSize;
  hintRows_.Attach(hint_, wholeBlocks, kind_, sameVersion);
  if (sameVersion) {
    groupFolders_.KeepSettledOnly();
  } else {
    groupFolders_.Reset(folder_);
  }
  cache_.Attach(hint_, static_cast<std::uint32_t>(wholeBlocks / kBlockSize), false);
  hintStamp_ = stamp;
  hintStampKnown_ = true;
  readingsFolder_ = folder_;
}

void Index::ForgetReadings() {
  hintRows_.Forget();
  groupFolders_.Reset(std::string());
  readingsFolder_.clear();
}

std::vector<int> Index::CandidateGroups(const std::vector<std::uint32_t>& hashes, const std::vector<int>* only) {
  hintRows_.Load(hashes, only, results_.ReadingSettled());
  return GroupsWithAllHintBits(hintRows_, hashes, only);
}

GroupFolders& Index::FoldersOpenFor(const std::vector<int>& groups) {
  if (kind_ == FolderKind::Local) groupFolders_.OpenFoldersOf(groups, results_.ReadingSettled());
  return groupFolders_;
}

void Index::Close() {
  if (hint_ == nullptr) return;
  cache_.Detach();
  hintRows_.Detach();
  const bool cacheFailed = cache_.WriteFailed();
  if (std::fclose(hint_) != 0 && !searchOnly_) writeFailed_ = true;
  writeFailed_ = writeFailed_ || cacheFailed;
  hint_ = nullptr;
  // Searchers elsewhere trust their cached group files while the hint file is
  // unchanged; a group rewritten without new hint bits must still show.
  if (wroteGroups_) TouchFile(HintFilePath(folder_));
  wroteGroups_ = false;
  group_ = kNoGroup;
}

void Index::BeginGroup(int group) {
  arena_.Clear();
  group_ = IsOpen() && IsValidGroup(group) ? group : kNoGroup;
}

void Index::AddElem(const std::uint8_t* word, long long length, std::int32_t a, std::int32_t b) {
  if (group_ == kNoGroup || word == nullptr || !IsValidWordLength(length)) return;
  const auto wordLength = static_cast<std::uint8_t>(length);
  // The hint bit is set at once, even if the group is never ended.
  if (arena_.Add(word, wordLength, a, b)) SetHintBit(cache_, group_, WordHash(word, wordLength));
}

bool Index::EndGroup() {
  if (group_ == kNoGroup) return false;
  EncodeGroupFile(arena_, fileBytes_);
  NoteGroupChange();
  const bool written = WriteGroupFile(folder_, group_, fileBytes_);
  if (!written) writeFailed_ = true;
  return written;
}

void Index::DeleteGroup(int group) {
  if (!IsOpen() || !IsValidGroup(group)) return;
  const std::string path = GroupFilePath(folder_, group);
  if (!ReadWholeFile(path, fileBytes_)) return;  // no such group, or unreadable: left alone
  NoteGroupChange();
  ForEachWordOfGroupFile(fileBytes_.data(), fileBytes_.size(),
                         [&](const std::uint8_t* word, std::size_t length) {
                           ClearHintBit(cache_, group, WordHash(word, length));
                         });
  if (Writes().Remove(path.c_str()) != 0) writeFailed_ = true;
  // Removes the group folder only when this was its last group file.
  Writes().Remove(GroupFolderPath(folder_, group).c_str());
}

void Index::NoteGroupChange() {
  wroteGroups_ = true;
  results_.Clear();
  ForgetReadings();
}

bool Index::GroupExist(int group) const {
  if (!IsOpen() || !IsValidGroup(group)) return false;
  std::FILE* file = std::fopen(GroupFilePath(folder_, group).c_str(), "rb");
  if (file == nullptr) return false;
  std::fclose(file);
  return true;
}

}  // namespace lexdex
