#pragma once

#include "core/services/DiskSpace.h"

namespace trelvin {

// GetDiskFreeSpaceExW: the bytes free to this user (quotas included) and the volume's size.
class WinDiskSpace : public DiskSpace {
 public:
  std::optional<DiskUsage> SpaceOf(const std::string& directory) override;
};

}  // namespace trelvin
