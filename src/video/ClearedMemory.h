#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

namespace trelvin::video {

// Memory a library clears when it sets itself up and then barely uses. libvpx's VP9 encoder
// clears (malloc, then memset) a token buffer sized for the worst picture, 100 MB at
// 1920 x 1080, of which a real-time encode writes a few percent; cleared pages count as the
// process's memory like any other. Pages that hold only zeros in the regions mapped or grown
// between the two calls go back to the system, which maps a zero-filled page again if one is
// touched: what the library reads does not change. Only done while the calling thread is the
// process's only one (the command; libvpx starts its threads at the first picture), since a
// page another thread writes between the check and the hand-back would lose that write.
// Linux only, and not under AddressSanitizer; elsewhere nothing is handed back.
class ClearedMemory {
 public:
  // Whether this build hands anything back.
  static bool Enabled();
  // Notes the process's memory regions as they are now.
  ClearedMemory();
  // Hands back the zero pages of the regions that are new since the constructor, when this
  // is the process's only thread. Returns the bytes handed back.
  std::size_t ReturnZeroPages() const;

 private:
  std::vector<std::pair<std::uintptr_t, std::uintptr_t>> before_;
};

}  // namespace trelvin::video
