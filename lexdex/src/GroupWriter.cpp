#include "GroupWriter.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "ByteOrder.h"
#include "IndexPaths.h"
#include "Word.h"

namespace lexdex {
namespace {

// Each record: L (1 byte), the word, K, then 8 bytes per pair.
constexpr std::uint32_t kPairSize = 2 * kFixed32Size;
constexpr std::uint32_t RecordSize(std::uint32_t length, std::uint32_t pairs) {
  return 1 + length + kFixed32Size + kPairSize * pairs;
}

bool SameWord(const Element& x, const Element& y) {
  return CompareWords(x.word, x.length, y.word, y.length) == 0;
}

}  // namespace

void EncodeGroupFile(ElementArena& arena, std::vector<std::uint8_t>& out) {
  const std::vector<std::uint32_t>& sorted = arena.SortByWord();
  out.clear();

  // Runs of equal words: [runStart[i], runStart[i + 1]) in `sorted`.
  std::vector<std::uint32_t> runStart;
  for (std::uint32_t i = 0; i < sorted.size(); ++i) {
    if (i == 0 || !SameWord(arena.At(sorted[i - 1]), arena.At(sorted[i]))) runStart.push_back(i);
  }
  const auto distinct = static_cast<std::uint32_t>(runStart.size());
  runStart.push_back(static_cast<std::uint32_t>(sorted.size()));

  AppendFixed32(out, distinct);
  std::uint32_t offset = 0;
  for (std::uint32_t run = 0; run < distinct; ++run) {
    AppendFixed32(out, offset);
    offset += RecordSize(arena.At(sorted[runStart[run]]).length, runStart[run + 1] - runStart[run]);
  }
  out.reserve(out.size() + offset);
  for (std::uint32_t run = 0; run < distinct; ++run) {
    const Element first = arena.At(sorted[runStart[run]]);
    out.push_back(first.length);
    out.insert(out.end(), first.word, first.word + first.length);
    AppendFixed32(out, runStart[run + 1] - runStart[run]);
    for (std::uint32_t i = runStart[run]; i < runStart[run + 1]; ++i) {
      const Element element = arena.At(sorted[i]);
      AppendFixed32(out, static_cast<std::uint32_t>(element.a));
      AppendFixed32(out, static_cast<std::uint32_t>(element.b));
    }
  }
}

bool WriteGroupFile(const std::string& folder, int group, const std::vector<std::uint8_t>& bytes) {
  const std::string path = GroupFilePath(folder, group);
  std::FILE* file = nullptr;
  for (int attempt = 0; attempt < kGroupFileCreateAttempts && file == nullptr; ++attempt) {
    if (attempt > 0) {
      // The first group of a group folder finds it missing.
      std::error_code ignored;
      std::filesystem::create_directory(GroupFolderPath(folder, group), ignored);
    }
    file = std::fopen(path.c_str(), "wb");
  }
  if (file == nullptr) return false;
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return std::fclose(file) == 0 && written;
}

}  // namespace lexdex
