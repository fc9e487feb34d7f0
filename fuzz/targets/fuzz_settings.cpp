// The settings' expansion of %variables% in a stored default.

#include <array>
#include <memory>

#include "FuzzSupport.h"
#include "LxConfig.h"
#include "LxConfigStore.h"

namespace {
const std::array<TLxConfigVariable, 1> kTable{{{TLxRootKey::CurrentUser, "Pasta", ""}}};

class TFuzzConfig : public TLxConfig {
 public:
  TFuzzConfig() : TLxConfig("Software\\Fuzz", kTable, std::make_unique<TLxMemoryConfigStore>()) {
    PublishProperty("ProgramFolder", [] { return std::string("/opt/pandecta"); });
    PublishProperty("Vazio", [] { return std::string(); });
  }
};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static TFuzzConfig config;
  (void)config.ExpandVariables(AsText(data, size));
  return 0;
}
