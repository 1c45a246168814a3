// Stored setting texts come from a file anyone can edit.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "core/shell/SettingText.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  if (auto value = trelvin::ParseSettingInt16(text)) {
    // Whatever converts must come back as the same number from its own decimal text.
    if (trelvin::ParseSettingInt16(trelvin::FormatSettingInt(*value)) != value) std::abort();
  }
  return 0;
}
