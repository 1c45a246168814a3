// The whole-file write of the file services, on the temporary-file writer of each system.
#include "atomicfile/TempFile.h"

namespace trelvin {

bool WriteWholeFile(const std::string& path,
                    const std::function<std::span<const std::uint8_t>()>& next) {
  if (path.empty()) return false;
  TempFile temp(path);
  if (!temp.ok()) return false;
  for (;;) {
    const std::span<const std::uint8_t> chunk = next();
    if (chunk.empty()) break;
    if (!temp.Write(chunk.data(), chunk.size())) return false;
  }
  return temp.Commit();
}

}  // namespace trelvin
