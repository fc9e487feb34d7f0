#pragma once

// The open group folders of an index (grp00 to grpff), so that a group file
// is opened by its short name inside its folder, with no lookup of the
// index's path for every file. A search opens the folders of its groups
// before its reading threads start; the threads only look the descriptors
// up. A search-only session keeps them for later searches of other words:
// Index decides, by the rule its result cache follows, which may stay.
// Where the system has no such descriptors, files are opened by path.

#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include "IndexPaths.h"

namespace lexdex {

class GroupFolders {
 public:
  GroupFolders() { slots_.fill(Slot{}); }
  explicit GroupFolders(std::string folder) : GroupFolders() { folder_ = std::move(folder); }
  ~GroupFolders() { CloseAll(); }
  GroupFolders(const GroupFolders&) = delete;
  GroupFolders& operator=(const GroupFolders&) = delete;

  // Serves the index in `folder`; the folders opened before are closed.
  void Reset(const std::string& folder);
  // Closes the folders not opened while `settled` was given, and forgets
  // the ones that could not be opened (they may exist by now).
  void KeepSettledOnly();

  // Opens the folders of groups[begin, end) not open yet; `settled` tells
  // whether they may serve later sessions.
  void OpenFoldersOf(const std::vector<int>& groups, std::size_t begin, std::size_t end, bool settled);
  void OpenFoldersOf(const std::vector<int>& groups, bool settled = false) {
    OpenFoldersOf(groups, 0, groups.size(), settled);
  }

  // The descriptor of the open folder of `group`; negative when it could
  // not be opened or was not asked for.
  int Of(int group) const { return slots_[static_cast<std::size_t>(group / kGroupsPerFolder)].fd; }
  const std::string& IndexFolder() const { return folder_; }
  // Folders open now.
  std::size_t OpenCount() const;

 private:
  static constexpr int kNotOpened = -2;
  struct Slot {
    int fd = kNotOpened;
    bool settled = false;
  };
  void CloseAll();

  std::string folder_;
  std::array<Slot, kGroupCount / kGroupsPerFolder> slots_;
};

}  // namespace lexdex
