#include "GroupWriter.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "ByteOrder.h"
#include "FileWrites.h"
#include "GroupFormat.h"
#include "IndexPaths.h"
#include "Word.h"

#if !defined(_WIN32) && __has_include(<unistd.h>)
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>
#define LEXDEX_POSIX_WRITE 1
// As fopen creates files: read and write for all, less the umask.
constexpr mode_t kNewFileMode = 0666;
#endif

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

#if LEXDEX_POSIX_WRITE

namespace {

// The group's new bytes go to this name first and replace the group file in
// one rename, so that a searcher (or a crash) meets the old file or the new
// one, never half of one.
constexpr const char* kPartialSuffix = ".tmp";

// Creates (truncates) the file and writes all of `bytes` with as few system
// calls as the kernel allows: usually open, one write, close.
bool WriteFileAt(const std::string& path, const std::vector<std::uint8_t>& bytes, bool& created) {
  const int fd = Writes().Open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, kNewFileMode);
  created = fd >= 0;
  if (!created) return false;
  std::size_t written = 0;
  while (written < bytes.size()) {
    const ssize_t got = Writes().Write(fd, bytes.data() + written, bytes.size() - written);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    written += static_cast<std::size_t>(got);
  }
  return ::close(fd) == 0 && written == bytes.size();
}

}  // namespace

bool WriteGroupFile(const std::string& folder, int group, const std::vector<std::uint8_t>& bytes) {
  const std::string path = GroupFilePath(folder, group);
  const std::string partial = path + kPartialSuffix;
  for (int attempt = 0; attempt < kGroupFileCreateAttempts; ++attempt) {
    if (attempt > 0) {
      // The first group of a group folder finds it missing.
      Writes().MakeDirectory(GroupFolderPath(folder, group).c_str());
    }
    bool created = false;
    const bool written = WriteFileAt(partial, bytes, created);
    if (!created) continue;
    if (written && Writes().Rename(partial.c_str(), path.c_str()) == 0) return true;
    Writes().Remove(partial.c_str());
    return false;
  }
  return false;
}

#else

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

#endif

}  // namespace lexdex
