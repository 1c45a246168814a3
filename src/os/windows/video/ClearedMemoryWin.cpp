// On Windows the cleared pages stay: the heap's large blocks are the system's own allocations,
// and handing pages back there (MEM_RESET, DiscardVirtualMemory) leaves their contents undefined
// rather than zero.
#include "video/ClearedMemory.h"

namespace trelvin::video {

ClearedMemory::ClearedMemory() = default;

bool ClearedMemory::Enabled() { return false; }

std::size_t ClearedMemory::ReturnZeroPages() const { return 0; }

}  // namespace trelvin::video
