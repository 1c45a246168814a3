// Handing back cleared memory must never lose a byte: only pages that hold nothing but zeros go
// back to the system, and they read as zeros afterwards.
#include <gtest/gtest.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstring>
#include <vector>

#include "video/ClearedMemory.h"

namespace trelvin::video {
namespace {

TEST(ClearedMemory, HandsBackOnlyPagesOfZeros) {
  if (!ClearedMemory::Enabled()) GTEST_SKIP() << "this build hands nothing back";
  const auto page = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
  const std::size_t pages = 64;
  const ClearedMemory before;
  void* map =
      ::mmap(nullptr, pages * page, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  ASSERT_NE(map, MAP_FAILED);
  auto* bytes = static_cast<unsigned char*>(map);
  std::memset(bytes, 0, pages * page);  // cleared, as a library does
  // Data at a page's first byte, at its last, and in the region's last page.
  const std::vector<std::size_t> data = {5 * page, 7 * page - 1, pages * page - 1};
  for (std::size_t at : data) bytes[at] = 0x5a;

  EXPECT_GE(before.ReturnZeroPages(), (pages - 3) * page);
  std::vector<unsigned char> resident(pages);
  ASSERT_EQ(::mincore(map, pages * page, resident.data()), 0);
  for (std::size_t i = 0; i < pages; ++i) {
    const bool has_data = i == 5 || i == 6 || i == pages - 1;
    EXPECT_EQ((resident[i] & 1) != 0, has_data) << "page " << i;
  }
  for (std::size_t at = 0; at < pages * page; ++at) {
    const bool is_data = at == data[0] || at == data[1] || at == data[2];
    ASSERT_EQ(bytes[at], is_data ? 0x5a : 0) << "byte " << at;
  }
  ::munmap(map, pages * page);
}

}  // namespace
}  // namespace trelvin::video
