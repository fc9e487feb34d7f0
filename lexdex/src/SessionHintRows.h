#pragma once

// The hint rows a search-only session has read. A search needs, for each of
// its words, the 64-byte row of the word's hash in every region: a few dozen
// rows spread over tens of megabytes. They are read one by one with pread
// (on a network folder many at once, each being a round trip to the server)
// and kept until the session ends or the hint file changes, so that the
// other words of a phrase and later searches do not read them again.

#include <array>
#include <cstdint>
#include <cstdio>
#include <unordered_map>
#include <vector>

#include "FolderKind.h"
#include "HintBits.h"

namespace lexdex {

class SessionHintRows {
 public:
  // Starts serving the hint file open as `file`, of which `fileBytes` exist;
  // rows read before are forgotten, or with `keepSettled` (the same version
  // of the file, opened again) only those not read as settled. The file is
  // not owned.
  void Attach(std::FILE* file, std::uint64_t fileBytes, FolderKind kind, bool keepSettled = false);
  // Forgets the file; the rows read as settled stay for a later Attach
  // that keeps them.
  void Detach();
  // Forgets the file and every row.
  void Forget();

  // Regions whose rows lie in the file; the scan of any row stops there.
  std::uint32_t RegionsInFile() const;

  // Reads the rows of `hashes` that were not read yet and lie in the file: in
  // every region, or only in the regions of the groups of `only` (ascending).
  // `settled`: what is read now may serve later sessions of this version.
  void Load(const std::vector<std::uint32_t>& hashes, const std::vector<int>* only, bool settled = false);
  std::size_t RowsHeld() const { return rows_.size(); }

  // Bitmap word `index` (0 to 15) of the row of `hash` in `region`: 0 past
  // the end of the file; all bits set for a row that could not be read, so
  // that its groups' files decide. The row must have been loaded.
  std::uint32_t BitmapWord(std::uint32_t hash, std::uint32_t region, std::uint32_t index) const;

 private:
  using Row = std::array<std::uint8_t, kRowSize>;
  static std::uint32_t Key(std::uint32_t hash, std::uint32_t region) { return region * kHashCount + hash; }
  bool ReadRow(std::uint32_t key, Row& row) const;

  std::FILE* file_ = nullptr;
  std::uint64_t fileBytes_ = 0;
  FolderKind kind_ = FolderKind::Local;
  struct HeldRow {
    Row bytes;
    bool settled;
  };
  std::unordered_map<std::uint32_t, HeldRow> rows_;
};

// The groups, ascending, whose hint bits are set for every one of `hashes`:
// among all groups, or among those of `only` (ascending); their rows must be
// loaded. A group holding all the words is always among them.
std::vector<int> GroupsWithAllHintBits(const SessionHintRows& rows, const std::vector<std::uint32_t>& hashes,
                                       const std::vector<int>* only);

}  // namespace lexdex
