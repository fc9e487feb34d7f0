// The index file's line reader and record parser: every line of the input as
// a record line, and each parsed record written back and parsed again.

#include <cstdlib>

#include "FuzzSupport.h"
#include "LxExcept.h"
#include "LxLineIO.h"
#include "LxMemoryStream.h"
#include "TOMORecord.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  TLxMemoryStream stream;
  stream.WriteBuffer(data, static_cast<std::int32_t>(size));
  stream.SetPosition(0);
  try {
    std::string line;
    while (ReadLine(stream, line)) {
      try {
        const TTOMORecordH record = ParseRecordItems(line);
        // What the writer makes of a record, the reader takes back unchanged.
        const std::string written = FormatRecordLine(record);
        const TTOMORecordH again = ParseRecordItems(std::string_view(written).substr(1));
        if (FormatRecordLine(again) != written) std::abort();
      } catch (const ELxException&) {
      }
    }
  } catch (const ELxException&) {
  }
  return 0;
}
