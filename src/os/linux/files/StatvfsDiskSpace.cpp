#include "os/linux/files/StatvfsDiskSpace.h"

#include <sys/statvfs.h>

namespace trelvin {

std::optional<DiskUsage> StatvfsDiskSpace::SpaceOf(const std::string& directory) {
  struct statvfs info {};
  if (::statvfs(directory.c_str(), &info) != 0) return std::nullopt;
  const auto block = static_cast<std::int64_t>(info.f_frsize ? info.f_frsize : info.f_bsize);
  return DiskUsage{static_cast<std::int64_t>(info.f_bavail) * block,
                   static_cast<std::int64_t>(info.f_blocks) * block};
}

}  // namespace trelvin
