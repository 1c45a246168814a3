// The covers of the other monitors on a real display (run by with-display.sh). Wine on the
// two-monitor dummy X server reports one monitor, so the monitors are handed in: a "monitor" over
// the right part of the one screen.
#include <gtest/gtest.h>

#include <vector>

#include "core/runtime/FormRules.h"
#include "os/windows/WinApi.h"
#include "os/windows/window/WinCoverWindows.h"

namespace trelvin {
namespace {

// The show's form, which records what reaches it; its window is a bare stand-in.
struct Shown : Form {
  Shown() : Form("formShown") {
    SetBorder(BorderStyle::kNone);
    SetBackColor(MakeRgb(0, 0, 64));
  }
  void Form_KeyDown(std::int16_t& KeyCode, std::int16_t) override { seen.push_back(KeyCode); }
  void Form_MouseDown(std::int16_t Button, std::int16_t, float x, float y) override {
    seen.insert(seen.end(), {Button, static_cast<int>(x), static_cast<int>(y)});
  }
  std::vector<int> seen;  // keys; buttons with where they went down
};

void Pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
}

TEST(WinCoverWindowsTest, CoversTheMonitorsItIsGivenAndHandsTheirInputToTheShow) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"TrelvinCoverTestShown";
  RegisterClassW(&wc);
  HWND shown = CreateWindowExW(0, wc.lpszClassName, L"shown", WS_POPUP | WS_VISIBLE, 0, 0, 600, 768,
                               nullptr, nullptr, wc.hInstance, nullptr);
  ASSERT_NE(shown, nullptr);
  std::vector<RECT> monitors{RECT{0, 0, 600, 768}, RECT{600, 0, 1024, 768}};
  Shown form;
  form.RunLoad();
  FormEvents events(form);
  int asked = 0;
  {
    WinCoverWindows covers(shown, form, events, [&] {
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
    // The press in the shown window's own coordinates.
    EXPECT_EQ(form.seen, (std::vector<int>{'X', kRightButton, 610, 20}));
    EXPECT_FALSE(form.Loaded());

    // A change of the displays: the monitors are asked for again and followed.
    monitors = {RECT{700, 0, 1024, 400}, RECT{0, 0, 600, 768}, RECT{0, 800, 100, 900}};
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
