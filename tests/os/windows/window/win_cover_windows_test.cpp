// The covers of the other monitors on a real display (run by with-display.sh). Wine on the
// two-monitor dummy X server reports one monitor, so the monitors are handed in: a "monitor" over
// the right part of the one screen.
#include <gtest/gtest.h>

#include <vector>

#include "os/windows/WinApi.h"
#include "os/windows/window/WinCoverWindows.h"

namespace trelvin {
namespace {

// A stand-in for the show's window that records what reaches it.
struct Shown {
  static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_KEYDOWN || message == WM_RBUTTONDOWN || message == WM_CLOSE) {
      seen.push_back(message);
      if (message == WM_RBUTTONDOWN) at = lparam;
      return 0;
    }
    return DefWindowProcW(hwnd, message, wparam, lparam);
  }
  static inline std::vector<UINT> seen;
  static inline LPARAM at = 0;
};

void Pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
}

TEST(WinCoverWindowsTest, CoversTheMonitorsItIsGivenAndHandsTheirInputToTheShow) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = Shown::Proc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"TrelvinCoverTestShown";
  RegisterClassW(&wc);
  HWND shown = CreateWindowExW(0, wc.lpszClassName, L"shown", WS_POPUP | WS_VISIBLE, 0, 0, 600, 768,
                               nullptr, nullptr, wc.hInstance, nullptr);
  ASSERT_NE(shown, nullptr);
  std::vector<RECT> monitors{RECT{600, 0, 1024, 768}};
  int asked = 0;
  {
    WinCoverWindows covers(shown, MakeRgb(0, 0, 64), [&] {
      ++asked;
      return monitors;
    });
    ASSERT_EQ(covers.Covers().size(), 1u);
    HWND cover = covers.Covers()[0];
    RECT r{};
    GetWindowRect(cover, &r);
    EXPECT_EQ(r.left, 600);
    EXPECT_EQ(r.right, 1024);
    EXPECT_EQ(r.bottom, 768);
    EXPECT_EQ(SendMessageW(cover, WM_MOUSEACTIVATE, 0, 0), MA_NOACTIVATE);
    UpdateWindow(cover);
    HDC dc = GetDC(cover);
    EXPECT_EQ(GetPixel(dc, 200, 300), RGB(0, 0, 64));
    ReleaseDC(cover, dc);

    SendMessageW(cover, WM_KEYDOWN, 'X', 0);
    SendMessageW(cover, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(10, 20));
    SendMessageW(cover, WM_CLOSE, 0, 0);
    Pump();
    EXPECT_EQ(Shown::seen, (std::vector<UINT>{WM_KEYDOWN, WM_RBUTTONDOWN, WM_CLOSE}));
    // In the shown window's own coordinates.
    EXPECT_EQ(static_cast<short>(LOWORD(Shown::at)), 610);
    EXPECT_EQ(static_cast<short>(HIWORD(Shown::at)), 20);

    // A change of the displays: the monitors are asked for again and followed.
    monitors = {RECT{700, 0, 1024, 400}, RECT{0, 500, 100, 768}};
    SendMessageW(cover, WM_DISPLAYCHANGE, 32, MAKELPARAM(1024, 768));
    Pump();
    EXPECT_EQ(asked, 2);
    ASSERT_EQ(covers.Covers().size(), 2u);
    GetWindowRect(covers.Covers()[0], &r);
    EXPECT_EQ(r.left, 700);
    EXPECT_EQ(r.bottom, 400);
  }
  DestroyWindow(shown);
}

}  // namespace
}  // namespace trelvin
