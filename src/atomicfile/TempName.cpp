#include "atomicfile/TempName.h"

namespace trelvin {

std::string TempName(std::string_view base, std::string_view lead, std::string_view unique,
                     std::string_view tail) {
  std::size_t kept = base.size();
  if (kept > kTempNameKeptBytes) {
    kept = kTempNameKeptBytes;
    // Never inside a character: a UTF-8 continuation byte is 10xxxxxx.
    while (kept > 0 && (static_cast<unsigned char>(base[kept]) & 0xC0) == 0x80) --kept;
  }
  std::string name(lead);
  name.append(base.substr(0, kept)).append(".").append(unique).append(tail);
  return name;
}

}  // namespace trelvin
