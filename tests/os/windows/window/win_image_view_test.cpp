// The image control's view on a real display (run by with-display.sh): the picture at the model's
// place in device pixels, the form's background around it, clicks and presses to their handlers.
#include <memory>

#include <gtest/gtest.h>

#include "core/controls/ImageControl.h"
#include "os/windows/WinApi.h"
#include "os/windows/desktop/WicPicture.h"
#include "os/windows/window/WinFormWindow.h"
#include "os/windows/window/WinWindowRuntime.h"

namespace trelvin {
namespace {

constexpr Rgb kRed = 0xFF0000;

class ShowForm : public Form {
 public:
  ShowForm() : Form("formShow"), image("Image1", {0, 0, 0, 0}, 0) {
    SetBorder(BorderStyle::kNone);
    SetBackColor(MakeRgb(0, 0, 64));
    Move({0, 0, 200, 100});
    AddControl(image);
    image.on_click = [this] { ++clicks; };
  }
  void Form_Load() override {
    ++loads;
    if (on_load) on_load();
  }
  void Form_MouseDown(std::int16_t button, std::int16_t, float, float) override {
    last_button = button;
  }
  ImageControl image;
  int loads = 0, clicks = 0;
  std::int16_t last_button = 0;
  std::function<void()> on_load;
};

std::shared_ptr<const Picture> RedPicture(int width, int height) {
  Bitmap pixels;
  pixels.Resize(width, height, kRed);
  return std::make_shared<WicPicture>(std::move(pixels), Size{width, height}, "red.jpg");
}

RECT ChildRect(HWND child) {
  RECT r;
  GetWindowRect(child, &r);
  MapWindowPoints(HWND_DESKTOP, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

COLORREF PixelOf(HWND window, int x, int y) {
  UpdateWindow(window);
  HDC dc = GetDC(window);
  const COLORREF colour = GetPixel(dc, x, y);
  ReleaseDC(window, dc);
  return colour;
}

class WinImageViewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window_ = std::make_unique<WinFormWindow>(form_, nullptr);
    ASSERT_NE(window_->hwnd(), nullptr);
    ASSERT_TRUE(window_->CreateViews());
    form_.RunLoad();  // the user's actions reach a loaded form only
    view_ = FindWindowExW(window_->hwnd(), nullptr, L"TrelvinView", nullptr);
    ASSERT_NE(view_, nullptr);
  }

  ShowForm form_;
  std::unique_ptr<WinFormWindow> window_;
  HWND view_ = nullptr;
};

TEST_F(WinImageViewTest, ThePictureLiesAtItsPlaceInDevicePixelsOnTheBackground) {
  form_.image.SetPicture(RedPicture(40, 20));
  form_.image.SetGeometry({80, 40, 40, 20});
  form_.SetVisible(true);
  const RECT at = ChildRect(view_);
  EXPECT_EQ(at.left, 80);
  EXPECT_EQ(at.top, 40);
  EXPECT_EQ(at.right - at.left, 40);
  EXPECT_EQ(at.bottom - at.top, 20);
  EXPECT_EQ(PixelOf(view_, 0, 0), RGB(255, 0, 0));
  EXPECT_EQ(PixelOf(view_, 39, 19), RGB(255, 0, 0));
  EXPECT_EQ(PixelOf(window_->hwnd(), 79, 40), RGB(0, 0, 64));
  EXPECT_EQ(PixelOf(window_->hwnd(), 120, 60), RGB(0, 0, 64));

  // Stretched over the whole form.
  form_.image.SetStretch(true);
  form_.image.SetGeometry({0, 0, 200, 100});
  EXPECT_EQ(PixelOf(window_->hwnd(), 5, 5), RGB(255, 0, 0));
  EXPECT_EQ(PixelOf(view_, 199, 99), RGB(255, 0, 0));
}

TEST_F(WinImageViewTest, WithoutAPictureTheViewShowsTheBackground) {
  form_.image.SetStretch(true);
  form_.image.SetGeometry({0, 0, 200, 100});
  form_.SetVisible(true);
  EXPECT_EQ(PixelOf(view_, 10, 10), RGB(0, 0, 64));
}

TEST_F(WinImageViewTest, AClickOnThePictureIsItsOwnAPressBesideItTheForms) {
  form_.image.SetPicture(RedPicture(40, 20));
  form_.SetVisible(true);
  SendMessageW(view_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  SendMessageW(view_, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(form_.clicks, 1);
  // Released away from the picture: no click.
  SendMessageW(view_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  SendMessageW(view_, WM_LBUTTONUP, 0, MAKELPARAM(150, 80));
  EXPECT_EQ(form_.clicks, 1);
  EXPECT_EQ(form_.last_button, 0);
  SendMessageW(window_->hwnd(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(150, 80));
  EXPECT_EQ(form_.last_button, 2);
}

TEST(WinImageShowModal, AFormWithAPictureIsLoadedAndShownModally) {
  WinWindowRuntime runtime;
  ShowForm owner;
  ShowForm show;
  show.on_load = [&] {
    show.image.SetPicture(RedPicture(4, 4));
    // The media control's notifications find the window through the form's handle.
    EXPECT_EQ(runtime.HandleFor(show.Handle()), runtime.HandleFor(show));
    PostMessageW(runtime.HandleFor(show), WM_CLOSE, 0, 0);
  };
  runtime.ShowModal(show, owner);
  EXPECT_EQ(show.loads, 1);
  EXPECT_FALSE(show.Loaded());
}

}  // namespace
}  // namespace trelvin
