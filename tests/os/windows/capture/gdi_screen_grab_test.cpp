// The GDI grab on a real (virtual) display: a window of a known colour must come out in the
// canvas where it sits on the screen.
#include <windows.h>
// The system's A/W macros would rename the platform interfaces' members of the same names.
#undef OpenDesktop

#include <cstdint>
#include <optional>

#include <gtest/gtest.h>

#include "core/base/Bitmap.h"
#include "os/windows/WaitFor.h"
#include "os/windows/capture/GdiScreenGrab.h"

namespace trelvin {
namespace {

constexpr std::uint32_t kKnown = 0x00C81E5A;  // an unusual red-purple

LRESULT CALLBACK PaintKnown(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_PAINT) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    HBRUSH brush = CreateSolidBrush(RGB(0xC8, 0x1E, 0x5A));
    RECT all;
    GetClientRect(window, &all);
    FillRect(dc, &all, brush);
    DeleteObject(brush);
    EndPaint(window, &paint);
    return 0;
  }
  return DefWindowProcW(window, message, wparam, lparam);
}

class GdiGrab : public ::testing::Test {
 protected:
  void SetUp() override {
    WNDCLASSW window_class{};
    window_class.lpfnWndProc = PaintKnown;
    window_class.hInstance = GetModuleHandleW(nullptr);
    window_class.lpszClassName = L"TrelvinKnownColour";
    RegisterClassW(&window_class);
    window_ = CreateWindowExW(WS_EX_TOPMOST, L"TrelvinKnownColour", L"Known colour",
                              WS_POPUP | WS_VISIBLE, 40, 30, 200, 120, nullptr, nullptr,
                              window_class.hInstance, nullptr);
    ASSERT_NE(window_, nullptr);
    UpdateWindow(window_);
    width_ = GetSystemMetrics(SM_CXSCREEN);
    height_ = GetSystemMetrics(SM_CYSCREEN);
    canvas_.Resize(width_, height_, MakeRgb(0, 0, 0));
    ASSERT_TRUE(GrabShowsWindow());
  }
  void TearDown() override {
    if (window_) DestroyWindow(window_);
  }

  // Grabs until the window shows (the display draws it a little later), or gives up.
  bool GrabShowsWindow() {
    return test::WaitFor(
        [&] {
          auto session = grab_.OpenDesktop();
          if (!session || !session->CopyTo(canvas_, width_, height_)) return false;
          session->Release();
          return canvas_.Row(90)[140] == kKnown;
        },
        10);
  }

  GdiScreenGrab grab_;
  HWND window_ = nullptr;
  int width_ = 0;
  int height_ = 0;
  Bitmap canvas_;
};

TEST_F(GdiGrab, ReleasesTheDesktopContextExactlyOnce) {
  const int before = grab_.DesktopContextsReleased();
  EXPECT_EQ(grab_.DesktopContextsObtained(), before);
  {
    auto session = grab_.OpenDesktop();
    ASSERT_NE(session, nullptr);
    EXPECT_TRUE(session->CopyTo(canvas_, width_, height_));
    session->Release();
    session->Release();
    EXPECT_FALSE(session->CopyTo(canvas_, width_, height_));  // nothing to copy from any more
  }
  EXPECT_EQ(grab_.DesktopContextsReleased(), before + 1);
  { auto dropped = grab_.OpenDesktop(); }  // a session dropped unreleased still releases
  EXPECT_EQ(grab_.DesktopContextsObtained(), before + 2);
  EXPECT_EQ(grab_.DesktopContextsReleased(), before + 2);
}

// The screen where the window is, then a smaller canvas and a cleared copy stay in bounds.
TEST_F(GdiGrab, CopiesTheScreenWhereTheWindowIsAndStaysInBounds) {
  EXPECT_EQ(canvas_.Row(31)[41], kKnown);    // just inside the top-left corner
  EXPECT_EQ(canvas_.Row(148)[238], kKnown);  // just inside the bottom-right corner
  EXPECT_NE(canvas_.Row(29)[41], kKnown);    // above it
  EXPECT_NE(canvas_.Row(90)[242], kKnown);   // right of it
  for (int y = 0; y < height_; y += 97) {
    for (int x = 0; x < width_; x += 89) EXPECT_EQ(canvas_.Row(y)[x] >> 24, 0u);
  }
  // Looked at where the grab holds it, the same screen but for the unused byte; the copy after
  // the look copies that very screen.
  auto looked = grab_.OpenDesktop();
  ASSERT_NE(looked, nullptr);
  const std::optional<PixelView> view = looked->Peek(width_, height_);
  ASSERT_TRUE(view);
  EXPECT_EQ(view->Row(90)[140] & 0xFFFFFF, kKnown);
  Bitmap copied;
  copied.Resize(width_, height_, 0);
  ASSERT_TRUE(looked->CopyTo(copied, width_, height_));
  for (int y = 0; y < height_; y += 7) {
    for (int x = 0; x < width_; x += 5) ASSERT_EQ(copied.Row(y)[x], view->Row(y)[x] & 0xFFFFFF);
  }
  looked->Release();
  EXPECT_FALSE(looked->Peek(width_, height_));
  Bitmap small;
  small.Resize(100, 60, MakeRgb(1, 2, 3));
  auto session = grab_.OpenDesktop();
  ASSERT_NE(session, nullptr);
  EXPECT_TRUE(session->CopyTo(small, width_, height_));
  EXPECT_EQ(small.Row(59)[99], kKnown);
  // A copy of less than the canvas clears the rest to the background.
  EXPECT_TRUE(session->CopyToCleared(canvas_, 150, 100, MakeRgb(0, 0, 0xFF)));
  EXPECT_EQ(canvas_.Row(90)[140], kKnown);
  EXPECT_EQ(canvas_.Row(110)[140], 0x0000FFu);
  EXPECT_EQ(canvas_.Row(90)[160], 0x0000FFu);
  // A copy that cannot happen leaves nothing of an earlier picture: all background.
  session->Release();
  EXPECT_FALSE(session->CopyToCleared(canvas_, width_, height_, MakeRgb(0, 0xFF, 0)));
  EXPECT_EQ(canvas_.Row(90)[140], 0x00FF00u);
  EXPECT_EQ(canvas_.Row(height_ - 1)[width_ - 1], 0x00FF00u);
}

}  // namespace
}  // namespace trelvin
