// The icon's menu steers a capture run on the real system, and a folder's free space is read. The
// disk floor itself is checked on the fakes: no small file system can be mounted here.
#include <gtest/gtest.h>

#include "core/shell/FormMainSlide.h"
#include "fakes/FakeCaptureKeeping.h"
#include "fakes/FakePlatform.h"
#include "os/windows/WinApi.h"
#include "os/windows/desktop/WinTrayIcon.h"
#include "os/windows/files/WinDiskSpace.h"

namespace trelvin {
namespace {

void Pump() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
}

TEST(WinCaptureKeepingTest, TheIconsMenuStopsTheRun) {
  fakes::FakePlatform p;
  fakes::FakeCaptureKeeping keep;
  WinTrayIcon icon;
  CaptureKeepServices services{keep.disk, keep.presence, keep.inhibit, icon};
  FormMainSlide form(p.services, "/c", &services);
  form.btnStart_Click();
  HWND window = static_cast<HWND>(icon.Window());
  ASSERT_NE(window, nullptr);
  // The video item is disabled: a pick of it is refused.
  PostMessageW(window, WM_COMMAND, WinTrayIcon::kFirstCommand + 4, 0);
  Pump();
  EXPECT_TRUE(form.Timer1.Enabled());
  // Stop is the second item, as the menu posts its pick.
  PostMessageW(window, WM_COMMAND, WinTrayIcon::kFirstCommand + 1, 0);
  Pump();
  EXPECT_FALSE(form.Timer1.Enabled());
  EXPECT_EQ(form.btnStart.Caption(), "&Start");
  EXPECT_FALSE(keep.inhibit.held);
}

TEST(WinCaptureKeepingTest, FreeSpaceOfAFolderAndNoneOfAMissingOne) {
  char temp[MAX_PATH] = {};
  ASSERT_GT(GetTempPathA(MAX_PATH, temp), 0u);
  WinDiskSpace disk;
  const auto usage = disk.SpaceOf(temp);
  ASSERT_TRUE(usage.has_value());
  EXPECT_GT(usage->free_bytes, 0);
  EXPECT_LE(usage->free_bytes, usage->total_bytes);
  EXPECT_FALSE(disk.SpaceOf("Q:\\no\\such\\folder\\").has_value());
}

}  // namespace
}  // namespace trelvin
