// A document file as the program reads it: signature, header, the body in any
// of the three encodings, the body's properties, Tamanho, content and links.
// The first byte picks the encoding line put in front of the rest, so that
// the fuzzer reaches the zlib and scrambled readers without finding the header.

#include "FuzzSupport.h"
#include "LxExcept.h"
#include "LxFilUtl.h"
#include "TOMODocumentBody.h"
#include "TOMODocumentFile.h"

namespace {
constexpr const char* kHeaders[] = {
    "",  // the input is the whole file
    "TOMO.Documento\r\nData: 01/02/2003\r\nCodifica\xE7\xE3o: ZLib\r\n\r\n",
    "TOMO.Documento\r\nData: 01/02/2003\r\nCodifica\xE7\xE3o: 2\r\n\r\n",
    "TOMO.Documento\r\nData: 01/02/2003\r\n\r\n",
};
constexpr std::size_t kHeaderCount = sizeof kHeaders / sizeof kHeaders[0];
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::string fileName = PathJoin(FuzzScratchFolder(), "Doc00001.dat");
  WriteFuzzFile(fileName, std::string(kHeaders[data[0] % kHeaderCount]) + std::string(AsText(data + 1, size - 1)));
  try {
    TTOMODocumentFile document(fileName, false);
    const TTOMODocumentBody body = ReadDocumentBody(document.OpenRead());
    document.CloseDocument();
  } catch (const ELxException&) {
  }
  return 0;
}
