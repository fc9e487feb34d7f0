#include "GroupWriter.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "ByteOrder.h"
#include "GroupFormat.h"
#include "IndexPaths.h"
#include "Word.h"

namespace lexdex {
namespace {

// The end of the run of equal words that starts at sorted[first].
std::size_t RunEnd(const ElementArena& arena, const std::vector<std::uint32_t>& sorted, std::size_t first) {
  const Element word = arena.At(sorted[first]);
  std::size_t end = first + 1;
  while (end < sorted.size()) {
    const Element next = arena.At(sorted[end]);
    if (CompareWords(word.word, word.length, next.word, next.length) != 0) break;
    ++end;
  }
  return end;
}

}  // namespace

void EncodeGroupFile(ElementArena& arena, std::vector<std::uint8_t>& out) {
  const std::vector<std::uint32_t>& sorted = arena.SortByWord();
  out.clear();

  // N is known only after the offset table: write it last, in place.
  AppendFixed32(out, 0);
  std::uint32_t distinct = 0;
  std::uint32_t offset = 0;
  for (std::size_t run = 0, end; run < sorted.size(); run = end) {
    end = RunEnd(arena, sorted, run);
    AppendFixed32(out, offset);
    offset += RecordSize(arena.At(sorted[run]).length, static_cast<std::uint32_t>(end - run));
    ++distinct;
  }
  EncodeFixed32(out.data(), distinct);

  out.reserve(out.size() + offset);
  for (std::size_t run = 0, end; run < sorted.size(); run = end) {
    end = RunEnd(arena, sorted, run);
    const Element first = arena.At(sorted[run]);
    out.push_back(first.length);
    out.insert(out.end(), first.word, first.word + first.length);
    AppendFixed32(out, static_cast<std::uint32_t>(end - run));
    for (std::size_t i = run; i < end; ++i) {
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
