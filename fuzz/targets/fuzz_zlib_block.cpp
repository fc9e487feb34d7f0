// The zlib block layer: the size header and the zlib stream, read whole, and
// again after a seek back.

#include <vector>

#include "FuzzSupport.h"
#include "LxExcept.h"
#include "LxMemoryStream.h"
#include "LxZLIBStream.h"

namespace {
constexpr std::int32_t kReadPiece = 4096;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  TLxMemoryStream stream;
  stream.WriteBuffer(data, static_cast<std::int32_t>(size));
  stream.SetPosition(0);
  try {
    TLxZLIBStream block(stream);
    block.BeginRead();
    std::vector<char> piece(kReadPiece);
    std::int64_t total = 0;
    for (std::int32_t got; (got = block.Read(piece.data(), kReadPiece)) > 0;) total += got;
    block.Seek(static_cast<std::int32_t>(total / 2), 0);
    while (block.Read(piece.data(), kReadPiece) > 0) {
    }
  } catch (const ELxException&) {
  }
  return 0;
}
