// The settings file: bytes of any content read as a registry file, then written and read back.
// Reading never fails, and what was read survives a rewrite unchanged.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "FuzzSupport.h"
#include "platform/linux/RegFileFormat.h"

namespace {

using namespace quillon::platform;

bool Same(const RegDocument& a, const RegDocument& b) {
  if (a.Keys.size() != b.Keys.size()) return false;
  for (std::size_t k = 0; k < a.Keys.size(); ++k) {
    if (a.Keys[k].Path != b.Keys[k].Path || a.Keys[k].Values != b.Keys[k].Values) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const RegDocument read =
      ParseRegFile(std::string_view(reinterpret_cast<const char*>(data), size));
  const RegDocument again = ParseRegFile(FormatRegFile(read));
  QUILLON_FUZZ_CHECK(Same(read, again));
  return 0;
}
