#pragma once

// The bytes of group files already read by searches of this process, so that
// a word met again, or the next word of a phrase, reads no file. The cache
// belongs to one version of the index: it is emptied whenever the hint file's
// stamp changes (every session that writes groups rewrites or touches the hint
// file when it closes), and when this process writes a group itself. It holds
// at most kGroupCacheBudget bytes; past that it starts over.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "FileStamp.h"

namespace lexdex {

inline constexpr std::uint64_t kGroupCacheBudget = std::uint64_t{256} << 20;  // 256 MiB

using GroupBytes = std::shared_ptr<const std::vector<std::uint8_t>>;

class GroupFileCache {
 public:
  GroupFileCache();

  // Makes the cache serve the index in `folder` whose hint file has `stamp`;
  // anything cached for another folder or stamp is dropped.
  void Validate(const std::string& folder, const FileStamp& stamp);
  void Clear();

  // Whether the group's file has been read; `bytes` is null for a file that
  // was missing or unreadable.
  bool Has(int group) const { return known_[static_cast<std::size_t>(group)]; }
  const GroupBytes& Bytes(int group) const { return bytes_[static_cast<std::size_t>(group)]; }
  void Store(int group, GroupBytes bytes);

 private:
  std::string folder_;
  FileStamp stamp_;
  std::vector<GroupBytes> bytes_;  // by group
  std::vector<bool> known_;        // by group
  std::uint64_t heldBytes_ = 0;
};

// Reads the group's file in one piece: null when missing or unreadable.
GroupBytes ReadGroupBytes(const std::string& folder, int group);

}  // namespace lexdex
