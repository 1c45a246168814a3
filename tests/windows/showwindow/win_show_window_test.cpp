// The slide show's window on a real display: its place and style, every key of the show's table
// (and Shift, Ctrl, Alt and F10 alone) with its own code, mouse presses, and what the screen shows.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "capture/BmpFile.h"
#include "platform/windows/WicPicture.h"
#include "platform/windows/WinShowWindow.h"

namespace trelvin {
namespace {

constexpr Rgb kBackground = MakeRgb(0, 0, 64);
constexpr Rgb kRed = MakeRgb(255, 0, 0);

// Runs the message loop until `done` holds or about ten seconds have passed.
template <typename Done>
bool PumpUntil(Done done) {
  const ULONGLONG end = GetTickCount64() + 10000;
  while (!done()) {
    if (GetTickCount64() > end) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  return true;
}

void Press(WORD key, bool release = true) {
  INPUT input[2] = {};
  input[0].type = input[1].type = INPUT_KEYBOARD;
  input[0].ki.wVk = input[1].ki.wVk = key;
  input[0].ki.wScan = input[1].ki.wScan = static_cast<WORD>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC));
  input[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(release ? 2 : 1, input, sizeof(INPUT));
}

class ShowWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window_ = std::make_unique<WinShowWindow>(kBackground);
    window_->on_key_down = [this](VirtualKey key, std::int16_t shift) {
      keys_.push_back(key);
      shifts_.push_back(shift);
    };
    window_->on_mouse_down = [this] { ++mouse_downs_; };
    ASSERT_TRUE(window_->Open(L"Trelvin show test"));
    ASSERT_TRUE(PumpUntil([&] { return GetForegroundWindow() == window_->hwnd(); }));
  }

  std::unique_ptr<WinShowWindow> window_;
  std::vector<VirtualKey> keys_;
  std::vector<std::int16_t> shifts_;
  int mouse_downs_ = 0;
};

TEST_F(ShowWindowTest, ItCoversThePrimaryScreenBorderlessAndTopmost) {
  RECT rect;
  GetWindowRect(window_->hwnd(), &rect);
  EXPECT_EQ(rect.left, 0);
  EXPECT_EQ(rect.top, 0);
  EXPECT_EQ(rect.right, GetSystemMetrics(SM_CXSCREEN));
  EXPECT_EQ(rect.bottom, GetSystemMetrics(SM_CYSCREEN));
  const LONG_PTR style = GetWindowLongPtrW(window_->hwnd(), GWL_STYLE);
  EXPECT_EQ(style & (WS_CAPTION | WS_THICKFRAME | WS_BORDER), 0);
  EXPECT_NE(GetWindowLongPtrW(window_->hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
}

TEST_F(ShowWindowTest, EveryKeyOfTheTableArrivesWithItsOwnCode) {
  const WORD table[] = {VK_DELETE, VK_PRIOR, VK_NEXT, 'S',         'P',   'C',
                        'W',       'M',      VK_ADD,  VK_SUBTRACT, VK_F5, VK_SPACE,
                        VK_ESCAPE, 'X',      VK_F10,  VK_RETURN};
  for (WORD key : table) {
    keys_.clear();
    Press(key);
    ASSERT_TRUE(PumpUntil([&] { return !keys_.empty(); })) << "key " << key;
    EXPECT_EQ(keys_.front(), static_cast<VirtualKey>(key)) << "key " << key;
    EXPECT_EQ(shifts_.front(), 0) << "key " << key;
  }
  // F10 reached the show rather than opening a menu: the window still has the keyboard.
  EXPECT_EQ(GetForegroundWindow(), window_->hwnd());
}

TEST_F(ShowWindowTest, ShiftCtrlAndAltAloneArriveAsKeysAndOpenNoMenu) {
  // The shift state that comes with them is not checked: the show does not use it, and under Wine
  // a Shift sent through SendInput still reads down after its release.
  for (WORD key : {VK_SHIFT, VK_CONTROL, VK_MENU}) {
    keys_.clear();
    Press(key, false);
    ASSERT_TRUE(PumpUntil([&] { return !keys_.empty(); })) << "key " << key;
    EXPECT_EQ(keys_.front(), static_cast<VirtualKey>(key));
    INPUT up{};
    up.type = INPUT_KEYBOARD;
    up.ki.wVk = key;
    up.ki.wScan = static_cast<WORD>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC));
    up.ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(1, &up, sizeof up);
    PumpUntil([&] { return GetKeyState(key) >= 0; });
  }
  EXPECT_EQ(GetForegroundWindow(), window_->hwnd());
}

TEST_F(ShowWindowTest, MousePressesAreReported) {
  for (DWORD flag : {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_RIGHTDOWN}) {
    const int before = mouse_downs_;
    INPUT input[2] = {};
    input[0].type = input[1].type = INPUT_MOUSE;
    input[0].mi.dwFlags = flag;
    input[1].mi.dwFlags = flag << 1;  // the matching release
    SetCursorPos(500, 400);
    SendInput(2, input, sizeof(INPUT));
    EXPECT_TRUE(PumpUntil([&] { return mouse_downs_ > before; }));
  }
}

// The screen as it is, 0x00RRGGBB top-down.
Bitmap GrabScreen() {
  Bitmap screen;
  screen.Resize(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), 0);
  HDC desktop = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(desktop);
  HBITMAP bitmap = CreateCompatibleBitmap(desktop, screen.width, screen.height);
  HGDIOBJ old = SelectObject(dc, bitmap);
  BitBlt(dc, 0, 0, screen.width, screen.height, desktop, 0, 0, SRCCOPY);
  SelectObject(dc, old);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = screen.width;
  info.bmiHeader.biHeight = -screen.height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  GetDIBits(dc, bitmap, 0, screen.height, screen.pixels.data(), &info, DIB_RGB_COLORS);
  for (auto& pixel : screen.pixels) pixel &= 0xFFFFFF;
  DeleteObject(bitmap);
  DeleteDC(dc);
  ReleaseDC(nullptr, desktop);
  return screen;
}

void KeepScreenshot(const Bitmap& screen, const char* name) {
  const char* folder = std::getenv("TRELVIN_SCREENSHOTS");
  if (!folder) return;
  const auto bytes = EncodeBmp24(screen);
  std::ofstream(std::string(folder) + "\\" + name, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
}

TEST_F(ShowWindowTest, TheScreenShowsThePictureCentredThenStretchedOnTheBackground) {
  ASSERT_EQ(GetSystemMetrics(SM_CXSCREEN), 1024);
  ASSERT_EQ(GetSystemMetrics(SM_CYSCREEN), 768);
  Bitmap red;
  red.Resize(320, 200, kRed);
  auto picture = std::make_shared<WicPicture>(std::move(red), Size{320, 200}, "red");
  window_->SetPicture(picture, {352, 284, 320, 200});
  Bitmap screen;
  EXPECT_TRUE(PumpUntil([&] {
    screen = GrabScreen();
    return screen.Row(284)[352] == kRed && screen.Row(0)[0] == kBackground;
  }));
  KeepScreenshot(screen, "show-centred.bmp");
  EXPECT_EQ(screen.Row(283)[352], kBackground);
  EXPECT_EQ(screen.Row(284)[351], kBackground);
  EXPECT_EQ(screen.Row(483)[671], kRed);
  EXPECT_EQ(screen.Row(484)[672], kBackground);

  window_->SetPicture(picture, {0, 0, 1024, 768});
  EXPECT_TRUE(PumpUntil([&] {
    screen = GrabScreen();
    return screen.Row(0)[0] == kRed && screen.Row(767)[1023] == kRed;
  }));
  KeepScreenshot(screen, "show-stretched.bmp");
}

}  // namespace
}  // namespace trelvin
