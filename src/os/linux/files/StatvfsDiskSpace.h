#pragma once

#include "core/services/DiskSpace.h"

namespace trelvin {

// statvfs(3): the blocks an ordinary user may still use (not those kept for root), so the floor
// is the one the user's own writes meet.
class StatvfsDiskSpace : public DiskSpace {
 public:
  std::optional<DiskUsage> SpaceOf(const std::string& directory) override;
};

}  // namespace trelvin
