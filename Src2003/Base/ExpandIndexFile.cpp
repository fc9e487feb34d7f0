#include "ExpandIndexFile.h"

#include <algorithm>
#include <vector>

#include "FileReplace.h"
#include "LxFilUtl.h"
#include "LxFileStream.h"
#include "LxZLIBStream.h"
#include "TOMOFileError.h"
#include "TOMOIndexFormat.h"

namespace {

constexpr const char* kExpansionTempFileName = "tomoidx.tmp";
constexpr std::int32_t kCopyChunkSize = 64 * 1024;

// The block's own expanded size is checked first, and the bytes really
// inflated as they come: a block may lie about its size.
std::int32_t InflateInto(const std::string& sourceName, TLxStream& compressed, TLxStream& expanded) {
  const std::int64_t compressedSize = compressed.Size();
  TLxZLIBStream block(compressed);
  block.BeginRead();
  CheckExpandedTreeSize(sourceName, compressedSize, block.ExpandedSize());
  std::vector<char> chunk(kCopyChunkSize);
  std::int64_t total = 0;
  for (;;) {
    const std::int32_t got = block.Read(chunk.data(), kCopyChunkSize);
    if (got <= 0) break;
    total += got;
    CheckExpandedTreeSize(sourceName, compressedSize, total);
    expanded.WriteBuffer(chunk.data(), got);
  }
  return static_cast<std::int32_t>(total);
}

}  // namespace

std::int64_t MaxExpandedTreeBytes(std::int64_t compressedBytes) {
  const std::int64_t proportional = kMaxTreeExpansion * std::max<std::int64_t>(compressedBytes, 0);
  return std::min(std::max(proportional, kAlwaysAcceptedTreeBytes), kMaxExpandedTreeBytes);
}

void CheckExpandedTreeSize(const std::string& file, std::int64_t compressedBytes, std::int64_t expandedBytes) {
  const std::int64_t limit = MaxExpandedTreeBytes(compressedBytes);
  if (expandedBytes <= limit) return;
  throw ETOMOFileError(
      FormatMessage("Arquivo de índice grande demais: o de %s passa de %lld bytes (no máximo %lld vezes o "
                    "tamanho compactado, até 1 GiB). O arquivo está danificado.",
                    file.c_str(), static_cast<long long>(limit), static_cast<long long>(kMaxTreeExpansion)));
}

TIndexFileSizes ExpandIndexFile(const std::string& folder) {
  const std::string sourceName = IndexFilePath(folder, kCompressedIndexFileName);
  const std::string tempName = PathJoin(folder, kExpansionTempFileName);
  TIndexFileSizes sizes;
  try {
    TLxFileStream source(sourceName, TLxFileMode::OpenRead);
    TLxFileStream target(tempName, TLxFileMode::Create);
    sizes.ExpandedSize = InflateInto(sourceName, source, target);
    target.Close();
    sizes.CompressedSize = source.Size();
  } catch (...) {
    DeleteFileQuietly(tempName);
    throw;
  }
  // The expansion replaces whatever case variant an earlier one left.
  const std::string targetName = IndexFilePath(folder, kExpandedIndexFileName);
  if (!RenameFileQuietly(tempName, targetName)) {
    DeleteFileQuietly(tempName);
    throw ETOMOFileError(FormatMessage("Não foi possível gravar o arquivo %s", targetName.c_str()));
  }
  return sizes;
}
