#include "ExpandIndexFile.h"

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

std::int32_t InflateInto(TLxStream& compressed, TLxStream& expanded) {
  TLxZLIBStream block(compressed);
  block.BeginRead();
  std::vector<char> chunk(kCopyChunkSize);
  std::int32_t total = 0;
  for (;;) {
    const std::int32_t got = block.Read(chunk.data(), kCopyChunkSize);
    if (got <= 0) break;
    expanded.WriteBuffer(chunk.data(), got);
    total += got;
  }
  return total;
}

}  // namespace

TIndexFileSizes ExpandIndexFile(const std::string& folder) {
  const std::string sourceName = IndexFilePath(folder, kCompressedIndexFileName);
  const std::string tempName = PathJoin(folder, kExpansionTempFileName);
  TIndexFileSizes sizes;
  try {
    TLxFileStream source(sourceName, TLxFileMode::OpenRead);
    TLxFileStream target(tempName, TLxFileMode::Create);
    sizes.ExpandedSize = InflateInto(source, target);
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
