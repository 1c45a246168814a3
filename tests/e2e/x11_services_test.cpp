// The X11 screen grab and window activation on a virtual display of their own.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <optional>

#include "e2e/FakeEmulator.h"
#include "e2e/Harness.h"
#include "os/linux/capture/X11ScreenGrab.h"
#include "os/linux/capture/X11WindowActivation.h"
#include "support/ScopedEnv.h"

namespace trelvin::e2e {
namespace {

constexpr const char* kEmulator = "Connectix Virtual Game Station";
constexpr std::uint32_t kRootColour = 0x336699;

// The services connect to $DISPLAY; point it at the test's display while they live.
class X11ServicesTest : public ::testing::TestWithParam<bool> {
 protected:
  void SetUp() override {
    if (!display_.ok()) GTEST_SKIP() << "Xvfb could not be started";
    display_env_.emplace("DISPLAY", display_.Name());
    e2e::Run(display_.Env() + "xsetroot -solid '#336699'");
  }

  VirtualDisplay display_{320, 240, GetParam()};
  std::optional<test_support::ScopedEnv> display_env_;
};

TEST_P(X11ServicesTest, GrabCopiesTheScreenThroughSharedMemoryAndWithout) {
  FakeEmulator emulator(display_, "pattern", {40, 30, 100, 80});
  ASSERT_TRUE(emulator.ok()) << emulator.Problem();
  ASSERT_TRUE(WaitFor([&] { return emulator.Where(display_).width == 100; }));
  const Placement at = emulator.Where(display_);

  X11ScreenGrab grab;
  Bitmap shared, plain;
  shared.Resize(320, 240, 0x123456);
  plain.Resize(320, 240, 0x123456);
  // Wait for the window's first paint.
  ASSERT_TRUE(WaitFor([&] {
    auto session = grab.OpenDesktop();
    return session && session->CopyTo(shared, 320, 240) &&
           shared.Row(at.y + at.height / 4)[at.x + at.width / 4] == 0xFF0000;
  }));
  EXPECT_TRUE(grab.LastCopyUsedSharedMemory());
  ExpectQuadrants([&](int x, int y) { return shared.Row(y)[x]; }, at, 0);
  EXPECT_EQ(shared.Row(2)[2], kRootColour);
  EXPECT_EQ(shared.Row(239)[319], kRootColour);
  {
    // Looked at where the grab holds them, the same pixels but for the unused byte; the copy
    // after the look copies those.
    auto looked = grab.OpenDesktop();
    ASSERT_TRUE(looked);
    const std::optional<PixelView> view = looked->Peek(320, 240);
    ASSERT_TRUE(view);
    for (int y = 0; y < 240; ++y) {
      for (int x = 0; x < 320; ++x) ASSERT_EQ(view->Row(y)[x] & 0xFFFFFF, shared.Row(y)[x]);
    }
    Bitmap copied;
    copied.Resize(320, 240, 0);
    ASSERT_TRUE(looked->CopyTo(copied, 320, 240));
    EXPECT_EQ(copied.pixels, shared.pixels);
    EXPECT_FALSE(looked->Peek(321, 240));  // more than the screen has: only a copy says that
    looked->Release();
    EXPECT_FALSE(looked->Peek(320, 240));
  }

  grab.DisableSharedMemory();
  auto session = grab.OpenDesktop();
  ASSERT_TRUE(session);
  ASSERT_TRUE(session->CopyTo(plain, 320, 240));
  EXPECT_FALSE(grab.LastCopyUsedSharedMemory());
  EXPECT_EQ(plain.pixels, shared.pixels);
  session->Release();
  EXPECT_FALSE(session->CopyTo(plain, 320, 240));
}

// Larger than the screen: a copy leaves the earlier picture where there is no screen, a clearing
// copy the background.
TEST_P(X11ServicesTest, GrabLargerThanTheScreenCopiesWhatIsThereAndClearsTheRestOnlyWhenAsked) {
  X11ScreenGrab grab;
  for (bool shared : {true, false}) {
    if (!shared) grab.DisableSharedMemory();
    Bitmap image;
    image.Resize(400, 300, 0x123456);  // an earlier picture, which must not show through
    auto session = grab.OpenDesktop();
    ASSERT_TRUE(session);
    ASSERT_TRUE(session->CopyTo(image, 400, 300));
    EXPECT_EQ(image.Row(239)[319], kRootColour);
    EXPECT_EQ(image.Row(100)[350], 0x123456u);
    EXPECT_EQ(image.Row(299)[100], 0x123456u);
    ASSERT_TRUE(session->CopyToCleared(image, 400, 300, 0xABCDEF));
    EXPECT_EQ(grab.LastCopyUsedSharedMemory(), shared);
    EXPECT_EQ(image.Row(0)[0], kRootColour);
    EXPECT_EQ(image.Row(239)[319], kRootColour);
    EXPECT_EQ(image.Row(100)[350], 0xABCDEFu);
    EXPECT_EQ(image.Row(299)[100], 0xABCDEFu);
    EXPECT_EQ(std::count(image.pixels.begin(), image.pixels.end(), 0x123456u), 0);
    // A released session copies nothing: all background.
    session->Release();
    EXPECT_FALSE(session->CopyToCleared(image, 400, 300, 0x010203));
    EXPECT_EQ(std::count(image.pixels.begin(), image.pixels.end(), 0x010203u),
              static_cast<long>(image.pixels.size()));
  }
}

// The title rule with a window manager is checked by tests/conformance/window_activation_test.cpp;
// without one, X11 activates the window itself.
class X11ActivationTest : public X11ServicesTest {};

TEST_P(X11ActivationTest, ExactTitleIsActivatedFirstAndGetsOneEnter) {
  FakeEmulator prefixed(display_, std::string(kEmulator) + " - Game", {10, 10, 60, 40});
  FakeEmulator exact(display_, kEmulator, {100, 100, 60, 40});
  ASSERT_TRUE(prefixed.ok());
  ASSERT_TRUE(exact.ok());
  X11WindowActivation windows;
  ASSERT_TRUE(windows.ActivateWindow(kEmulator));
  ASSERT_TRUE(windows.SendEnter());
  EXPECT_TRUE(WaitFor([&] { return exact.Count() == "1 1"; })) << exact.Count();
  EXPECT_EQ(prefixed.Count(), "0 0");
  EXPECT_FALSE(windows.ActivateWindow("Nothing of that name"));
}

INSTANTIATE_TEST_SUITE_P(WithAndWithoutWindowManager, X11ServicesTest, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Openbox" : "BareX"; });
INSTANTIATE_TEST_SUITE_P(WithoutWindowManager, X11ActivationTest, ::testing::Values(false),
                         [](const auto&) { return "BareX"; });

}  // namespace
}  // namespace trelvin::e2e
