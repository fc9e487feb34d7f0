#include "GroupFileCache.h"

#include "GroupReader.h"
#include "IndexPaths.h"

namespace lexdex {

GroupFileCache::GroupFileCache() : bytes_(kGroupCount), known_(kGroupCount, false) {}

void GroupFileCache::Validate(const std::string& folder, const FileStamp& stamp) {
  if (folder == folder_ && stamp == stamp_) return;
  Clear();
  folder_ = folder;
  stamp_ = stamp;
}

void GroupFileCache::Clear() {
  if (heldBytes_ == 0 && folder_.empty()) return;
  for (GroupBytes& bytes : bytes_) bytes.reset();
  known_.assign(kGroupCount, false);
  heldBytes_ = 0;
  folder_.clear();
  stamp_ = FileStamp{};
}

void GroupFileCache::Store(int group, GroupBytes bytes) {
  const std::uint64_t size = bytes ? bytes->size() : 0;
  if (heldBytes_ + size > kGroupCacheBudget) {
    // Starting over is simpler than choosing victims, and rare: a whole
    // index of the expected size fits in the budget.
    const std::string folder = folder_;
    const FileStamp stamp = stamp_;
    Clear();
    folder_ = folder;
    stamp_ = stamp;
  }
  heldBytes_ += size;
  bytes_[static_cast<std::size_t>(group)] = std::move(bytes);
  known_[static_cast<std::size_t>(group)] = true;
}

GroupBytes ReadGroupBytes(const std::string& folder, int group) {
  auto bytes = std::make_shared<std::vector<std::uint8_t>>();
  if (!ReadWholeFile(GroupFilePath(folder, group), *bytes)) return nullptr;
  return bytes;
}

}  // namespace lexdex
