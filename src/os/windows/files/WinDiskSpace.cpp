#include "os/windows/files/WinDiskSpace.h"

#include "os/windows/WinApi.h"

#include "os/windows/WinText.h"

namespace trelvin {

std::optional<DiskUsage> WinDiskSpace::SpaceOf(const std::string& directory) {
  ULARGE_INTEGER free_to_user{};
  ULARGE_INTEGER total{};
  if (!GetDiskFreeSpaceExW(Widen(directory).c_str(), &free_to_user, &total, nullptr)) {
    return std::nullopt;
  }
  return DiskUsage{static_cast<std::int64_t>(free_to_user.QuadPart),
                   static_cast<std::int64_t>(total.QuadPart)};
}

}  // namespace trelvin
