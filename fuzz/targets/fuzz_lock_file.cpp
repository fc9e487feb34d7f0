// The directory lock's file: its lines, the holder's identity and the
// countdown of a foreign lock, at ages on both sides of the stale limit.

#include "FuzzSupport.h"
#include "LxDirectoryLockFile.h"

namespace {
constexpr std::int32_t kInterval = 5000;
constexpr double kAges[] = {-1.0, 0.0, 0.00001, 0.1, 2.0};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::vector<std::string> lines = ParseLockLines(AsText(data, size));
  if (!lines.empty()) (void)MachineOfIdentity(lines[0]);
  for (const double age : kAges) {
    std::vector<std::string> copy = lines;
    (void)CountDownForeignLock(copy, kInterval, age);
  }
  (void)FormatLockLines(lines);
  return 0;
}
