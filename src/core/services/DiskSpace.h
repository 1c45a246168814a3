#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace trelvin {

// The room on a file system, in bytes.
struct DiskUsage {
  std::int64_t free_bytes = 0;   // what this user may still write
  std::int64_t total_bytes = 0;  // the file system's size
};

// Free space on the file system that holds a folder.
class DiskSpace {
 public:
  virtual ~DiskSpace() = default;
  // The room on the file system holding `directory`; nullopt when it cannot be asked (a folder
  // that is missing, say).
  virtual std::optional<DiskUsage> SpaceOf(const std::string& directory) = 0;
};

}  // namespace trelvin
