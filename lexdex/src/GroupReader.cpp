#include "GroupReader.h"

#include <climits>

#if !defined(_WIN32) && __has_include(<unistd.h>)
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#define LEXDEX_POSIX_FILES 1
#endif

#include "Word.h"

namespace lexdex {
namespace {

// Files are read in pieces that grow from this size.
constexpr std::size_t kFirstReadSize = 16384;

}  // namespace

std::optional<WordPairs> FindWordInGroup(const std::uint8_t* data, std::size_t size,
                                         const std::uint8_t* word, std::size_t length) {
  if (size < kFixed32Size) return std::nullopt;
  const std::uint64_t words = DecodeFixed32(data);
  const std::uint64_t records = kFixed32Size + kFixed32Size * words;
  if (records > size) return std::nullopt;  // absurd N

  // Invariant: the word, if present, is among records [lo, hi).
  std::uint64_t lo = 0;
  std::uint64_t hi = words;
  while (lo < hi) {
    const std::uint64_t mid = (lo + hi) / 2;
    const std::uint64_t recordPos = records + DecodeFixed32(data + kFixed32Size + kFixed32Size * mid);
    if (recordPos >= size) return std::nullopt;
    const std::uint8_t probeLength = data[recordPos];
    const std::uint64_t countPos = recordPos + 1 + probeLength;
    if (countPos > size) return std::nullopt;
    const int order = CompareWords(word, length, data + recordPos + 1, probeLength);
    if (order < 0) {
      hi = mid;
    } else if (order > 0) {
      lo = mid + 1;
    } else {
      if (countPos + kFixed32Size > size) return std::nullopt;
      const std::uint64_t pairs = DecodeFixed32(data + countPos);
      const std::uint64_t pairsPos = countPos + kFixed32Size;
      if (pairs > INT_MAX || pairsPos + kPairSize * pairs > size) return std::nullopt;
      return WordPairs{pairsPos, static_cast<std::uint32_t>(pairs)};
    }
  }
  return std::nullopt;
}

std::uint32_t FindWordInGroupFile(std::FILE* file, const std::uint8_t* word, std::size_t length) {
  const long base = std::ftell(file);
  std::vector<std::uint8_t> bytes(kFixed32Size);
  if (base < 0 || std::fread(bytes.data(), 1, kFixed32Size, file) != kFixed32Size) return 0;
  if (DecodeFixed32(bytes.data()) == 0) return 0;  // an empty group needs no more reading
  if (!ReadRestOfFile(file, bytes)) return 0;
  const std::optional<WordPairs> pairs = FindWordInGroup(bytes.data(), bytes.size(), word, length);
  if (!pairs || std::fseek(file, base + static_cast<long>(pairs->offset), SEEK_SET) != 0) return 0;
  return pairs->count;
}

bool ReadRestOfFile(std::FILE* file, std::vector<std::uint8_t>& out) {
  std::size_t piece = kFirstReadSize;
  for (;;) {
    const std::size_t before = out.size();
    out.resize(before + piece);
    const std::size_t got = std::fread(out.data() + before, 1, piece, file);
    out.resize(before + got);
    if (got < piece) return std::ferror(file) == 0;
    if (out.size() > kMaxGroupFileBytes) return false;
    piece *= 2;
  }
}

#if LEXDEX_POSIX_FILES

// open, fstat, one read of the whole size (plus one byte, to notice a file
// that grew meanwhile), close: four system calls per group file.
bool ReadWholeFile(const std::string& path, std::vector<std::uint8_t>& out) {
  out.clear();
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat status {};
  bool ok = ::fstat(fd, &status) == 0;
  std::size_t expected = ok && status.st_size > 0 ? static_cast<std::size_t>(status.st_size) : 0;
  while (ok) {
    const std::size_t before = out.size();
    const std::size_t piece = expected > before ? expected - before + 1 : kFirstReadSize;
    out.resize(before + piece);
    const ssize_t got = ::read(fd, out.data() + before, piece);
    out.resize(before + (got > 0 ? static_cast<std::size_t>(got) : 0));
    if (got < 0 && errno == EINTR) continue;
    ok = got >= 0;
    // A short read is the end of the file, as with the C streams.
    if (got < static_cast<ssize_t>(piece)) break;
    expected = 0;  // it grew past its announced size: read on in pieces
    if (out.size() > kMaxGroupFileBytes) {
      ok = false;
      break;
    }
  }
  ::close(fd);
  return ok;
}

#else

bool ReadWholeFile(const std::string& path, std::vector<std::uint8_t>& out) {
  out.clear();
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return false;
  std::setvbuf(file, nullptr, _IONBF, 0);  // one read straight into `out`
  const bool read = ReadRestOfFile(file, out);
  std::fclose(file);
  return read;
}

#endif

}  // namespace lexdex
