#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

#include "video/ClearedMemory.h"

// Under AddressSanitizer the heap and the shadow are the sanitizer's: their pages are not the
// library's to read, and the shadow's regions are terabytes wide.
#if defined(__SANITIZE_ADDRESS__)
#define TRELVIN_SANITIZED_HEAP 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TRELVIN_SANITIZED_HEAP 1
#endif
#endif

namespace trelvin::video {

namespace {

using Region = std::pair<std::uintptr_t, std::uintptr_t>;

// The private anonymous writable regions of /proc/self/maps (no file, no [heap] or [stack]).
std::vector<Region> AnonymousRegions() {
  std::vector<Region> regions;
  std::ifstream maps("/proc/self/maps");
  std::string line;
  while (std::getline(maps, line)) {
    std::istringstream fields(line);
    std::string range, perms, offset, device, path;
    unsigned long inode = 0;
    fields >> range >> perms >> offset >> device >> inode >> path;
    if (inode != 0 || !path.empty() || perms != "rw-p") continue;
    const std::size_t dash = range.find('-');
    if (dash == std::string::npos) continue;
    regions.emplace_back(std::stoull(range.substr(0, dash), nullptr, 16),
                         std::stoull(range.substr(dash + 1), nullptr, 16));
  }
  return regions;
}

bool OnlyThread() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("Threads:", 0) == 0) return std::stoi(line.substr(8)) == 1;
  }
  return false;
}

bool AllZero(const unsigned char* page, std::size_t size) {
  // The first byte, then the page against itself shifted by one: zero throughout.
  return page[0] == 0 && std::memcmp(page, page + 1, size - 1) == 0;
}

}  // namespace

ClearedMemory::ClearedMemory() : before_(Enabled() ? AnonymousRegions() : std::vector<Region>{}) {}

bool ClearedMemory::Enabled() {
#ifdef TRELVIN_SANITIZED_HEAP
  return false;
#else
  return true;
#endif
}

std::size_t ClearedMemory::ReturnZeroPages() const {
  if (!Enabled() || !OnlyThread()) return 0;
  const auto page = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
  std::size_t returned = 0;
  for (const Region& region : AnonymousRegions()) {
    if (std::find(before_.begin(), before_.end(), region) != before_.end()) continue;
    // Runs of zero pages go back in one call each.
    std::uintptr_t run = 0;
    for (std::uintptr_t at = region.first; at <= region.second; at += page) {
      const bool zero = at < region.second && AllZero(reinterpret_cast<unsigned char*>(at), page);
      if (zero && run == 0) run = at;
      if (!zero && run != 0) {
        if (::madvise(reinterpret_cast<void*>(run), at - run, MADV_DONTNEED) == 0) {
          returned += at - run;
        }
        run = 0;
      }
    }
  }
  return returned;
}

}  // namespace trelvin::video
