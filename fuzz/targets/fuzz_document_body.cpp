// A document's decoded body on its own: properties, Tamanho, content, links.

#include "FuzzSupport.h"
#include "LxExcept.h"
#include "LxMemoryStream.h"
#include "TOMODocumentBody.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  TLxMemoryStream stream;
  stream.WriteBuffer(data, static_cast<std::int32_t>(size));
  stream.SetPosition(0);
  try {
    (void)ReadDocumentBody(stream);
  } catch (const ELxException&) {
  }
  return 0;
}
