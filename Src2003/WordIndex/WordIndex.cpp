#include "WordIndex.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <limits>
#include <thread>

#include "ACLUnit.h"
#include "LxCodePage.h"
#include "LxFilUtl.h"
#include "LxFileOperations.h"
#include "LxFileStream.h"
#include "LxExcept.h"
#include "WordIndexError.h"
#include "WordIndexLockSearch.h"
#include "WordIndexLockWrite.h"
#include "WordIndexMessages.h"
#include "lexdex.h"

std::unique_ptr<TWordIndex> WordIndex;

namespace {

constexpr const char* kEngineFolderName = "TOMOACL";
constexpr const char* kMarkerFileName = "OutOfDate.txt";
constexpr const char* kLineEnd = "\r\n";

void SleepFor(std::chrono::milliseconds duration) { std::this_thread::sleep_for(duration); }

}  // namespace

TWordIndex::TWordIndex(TFolderSource indexFolder)
    : indexFolder_(std::move(indexFolder)), pause_(SleepFor) {
  BuildCharTables();
  ACL_Init();
  engineStarted_ = true;
}

TWordIndex::TWordIndex(const std::string& indexFolder)
    : TWordIndex(TFolderSource([indexFolder] { return indexFolder; })) {}

TWordIndex::~TWordIndex() {
  if (lock_) lock_->Release();
  if (engineStarted_) ACL_End();
}

std::string TWordIndex::EngineFolder() const { return PathJoin(IndexFolder(), kEngineFolderName); }

std::string TWordIndex::MarkerFile() const { return PathJoin(IndexFolder(), kMarkerFileName); }

template <class TLockClass>
std::unique_ptr<TLockClass> TWordIndex::OpenLock(std::unique_ptr<TLockClass> lock) {
  lock->Acquire();
  return lock;
}

std::unique_ptr<TWordIndexLockCreate> TWordIndex::OpenCreate() {
  return OpenLock(std::make_unique<TWordIndexLockCreate>(*this));
}

std::unique_ptr<TWordIndexLockCreate> TWordIndex::OpenRebuild() {
  return OpenLock(std::make_unique<TWordIndexLockCreate>(*this, true));
}

std::unique_ptr<TWordIndexLockUpdate> TWordIndex::OpenUpdate() {
  return OpenLock(std::make_unique<TWordIndexLockUpdate>(*this));
}

std::unique_ptr<TWordIndexLockSearch> TWordIndex::OpenSearch(const std::string& phrase) {
  auto search = OpenLock(std::make_unique<TWordIndexLockSearch>(*this, phrase));
  search->StartWords();
  return search;
}

namespace {

// A match the engine read from a damaged group file: positions that no text
// has. Shown as a range it would be served as a right answer.
void CheckMatch(const TWordIndexLockSearch& search) {
  const std::int64_t start = search.MatchStart();
  const std::int64_t end = start + search.MatchLength();
  if (start < 0 || search.MatchLength() <= 0 || end > std::numeric_limits<std::int32_t>::max()) {
    throw EWordIndexError(FormatMessage(kIndexDamagedMessage, static_cast<int>(search.MatchGroup())));
  }
}

TSearchResultList CollectMatches(TWordIndexLockSearch& search) {
  TSearchResultList list;
  std::int32_t previousGroup = -1;
  TSearchResult* current = nullptr;
  for (; !search.Finished(); search.Advance()) {
    CheckMatch(search);
    if (search.MatchGroup() == TWordIndex::TitleGroup) {
      // In the title group `a` is the entry's Id: a match whose words all
      // carry one Id lies inside one entry's title and summary.
      if (search.MatchLength() == search.LastWordLength()) {
        list.FindOrInsert(search.MatchStart()).SetTitleMatch(true);
      }
      continue;
    }
    // Entries found through their titles may already stand anywhere in the
    // list, so every result goes to its place in DocumentId order.
    if (search.MatchGroup() != previousGroup) {
      current = &list.FindOrInsert(search.MatchGroup());
      previousGroup = search.MatchGroup();
    }
    current->AddRange(search.MatchStart(), search.MatchLength());
  }
  return list;
}

}  // namespace

TSearchResultList TWordIndex::Search(const std::string& phrase) {
  const std::unique_ptr<TWordIndexLockSearch> search = OpenSearch(phrase);
  return CollectMatches(*search);
}

TSearchResultList TWordIndex::Search(const std::string& phrase, TSearchScope scope) {
  if (scope == TSearchScope::Everywhere) return Search(phrase);
  auto search = OpenLock(std::make_unique<TWordIndexLockSearch>(*this, phrase));
  // The title group names the entries to keep; only their document groups
  // can add ranges to them.
  std::vector<int> groups = {TitleGroup};
  search->StartWords(&groups);
  const TSearchResultList titled = CollectMatches(*search);
  for (int i = 0; i < titled.Count(); ++i) {
    if (titled.Items(i).TitleMatch()) groups.push_back(titled.Items(i).DocumentId());
  }
  search->StartWords(&groups);
  TSearchResultList list = CollectMatches(*search);
  list.Filter([](const TSearchResult& result) { return result.TitleMatch(); });
  return list;
}

void TWordIndex::DeleteIndex() {
  if (lock_) throw EWordIndexError(kDeleteWhileOpenMessage);
  ACL_Remove(EngineFolder().c_str());
}

bool TWordIndex::IsOutOfDate() const { return FileExists(MarkerFile()); }

void TWordIndex::MarkOutOfDate() {
  ForceDirectories(IndexFolder());
  std::string contents;
  for (const char* line : kOutOfDateFileLines) contents += Utf8ToWin1252(line) + kLineEnd;
  // The marker must be on the disk before the index changes: it is what tells
  // searchers, after a power cut, not to trust what they find.
  TLxFileStream file(MarkerFile(), TLxFileMode::Create);
  file.WriteBuffer(contents.data(), static_cast<std::int32_t>(contents.size()));
  file.Sync();
  file.Close();
}

void TWordIndex::MarkUpToDate() { FileOperations().Remove(MarkerFile().c_str()); }
