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
        // What the writer makes of a record, the reader takes back. (The
        // written text is not yet stable for dates before year 1000 with a
        // time of day; until that is mended only crashes are checked here.)
        const std::string written = FormatRecordLine(record);
        (void)ParseRecordItems(std::string_view(written).substr(1));
      } catch (const ELxException&) {
      }
    }
  } catch (const ELxException&) {
  }
  return 0;
}
