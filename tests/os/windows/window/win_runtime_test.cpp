// The Win32 window runtime on a real display (run by with-display.sh): the controls mirror their
// models, and the user's actions come back as the models' events exactly when something changed.
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "core/controls/Button.h"
#include "core/controls/CheckBox.h"
#include "core/controls/ImageControl.h"
#include "core/controls/Label.h"
#include "core/controls/ScrollBar.h"
#include "os/windows/WinApi.h"
#include "os/windows/WinText.h"
#include "os/windows/window/WinFormWindow.h"
#include "os/windows/window/WinWindowRuntime.h"

namespace trelvin {
namespace {

class TestForm : public Form {
 public:
  TestForm()
      : Form("testForm"),
        bar("bar", {3, 25, 204, 12}, 1, 1, 600, 1, 10, 1),
        box("box", {3, 127, 105, 14}, 2, "Box"),
        button("button", {118, 144, 75, 28}, 0, "&Start"),
        label("label", {2, 63, 271, 17}, 3, "C:\\A&B\\") {
    SetCaption("Runtime Test");
    Move({0, 0, 278, 173});
    for (Control* c : std::initializer_list<Control*>{&bar, &box, &button, &label}) AddControl(*c);
    bar.on_change = [this] { ++changes; };
    box.on_click = [this] { ++clicks; };
    button.on_click = [this] { ++presses; };
  }

  ScrollBar bar;
  CheckBox box;
  Button button;
  Label label;
  int changes = 0, clicks = 0, presses = 0;
};

class WinRuntimeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form_ = std::make_unique<TestForm>();
    window_ = std::make_unique<WinFormWindow>(*form_, nullptr);
    ASSERT_NE(window_->hwnd(), nullptr);
    ASSERT_TRUE(window_->CreateViews());
    form_->RunLoad();  // the user's actions reach a loaded form only
  }
  // The child window of this class, with this text when one is given.
  HWND Child(const wchar_t* window_class, const wchar_t* text = nullptr) {
    return FindWindowExW(window_->hwnd(), nullptr, window_class, text);
  }
  void Scroll(WORD code, WORD position = 0) {
    SendMessageW(window_->hwnd(), WM_HSCROLL, MAKEWPARAM(code, position),
                 reinterpret_cast<LPARAM>(Child(L"ScrollBar")));
  }

  std::unique_ptr<TestForm> form_;
  std::unique_ptr<WinFormWindow> window_;
};

TEST_F(WinRuntimeTest, ScrollBarChangesOnReleaseOfTheThumbNotWhileItIsDragged) {
  HWND bar = Child(L"ScrollBar");
  ASSERT_NE(bar, nullptr);
  Scroll(SB_THUMBTRACK, 300);
  Scroll(SB_THUMBTRACK, 420);
  EXPECT_EQ(form_->changes, 0);
  EXPECT_EQ(form_->bar.Value(), 1);
  Scroll(SB_THUMBPOSITION, 420);
  Scroll(SB_ENDSCROLL);
  EXPECT_EQ(form_->changes, 1);
  EXPECT_EQ(form_->bar.Value(), 420);
  EXPECT_EQ(GetScrollPos(bar, SB_CTL), 420);
  // Arrows and the track change at once, by the small and the large step.
  Scroll(SB_LINERIGHT);
  Scroll(SB_PAGELEFT);
  EXPECT_EQ(form_->bar.Value(), 411);
  EXPECT_EQ(form_->changes, 3);
  // At an end nothing changes, so nothing is raised; the thumb stays at the model's value.
  Scroll(SB_RIGHT);
  EXPECT_EQ(form_->changes, 4);
  Scroll(SB_PAGERIGHT);
  Scroll(SB_THUMBPOSITION, 600);
  EXPECT_EQ(form_->changes, 4);
  EXPECT_EQ(GetScrollPos(bar, SB_CTL), 600);
  // An assignment moves the thumb.
  form_->bar.SetValue(25);
  EXPECT_EQ(GetScrollPos(bar, SB_CTL), 25);
  int low = 0, high = 0;
  GetScrollRange(bar, SB_CTL, &low, &high);
  EXPECT_EQ(low, 1);
  EXPECT_EQ(high, 600);
}

TEST_F(WinRuntimeTest, CheckBoxesButtonsAndLabelsMirrorTheirModels) {
  HWND box = Child(L"Button", L"Box");
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(SendMessageW(box, BM_GETCHECK, 0, 0), BST_UNCHECKED);
  form_->box.SetValue(CheckBox::kGrayed);
  EXPECT_EQ(SendMessageW(box, BM_GETCHECK, 0, 0), BST_INDETERMINATE);
  EXPECT_EQ(form_->clicks, 1);
  form_->box.SetValue(CheckBox::kGrayed);  // no change, no event
  EXPECT_EQ(form_->clicks, 1);
  SendMessageW(box, BM_CLICK, 0, 0);  // the user's click: grayed becomes checked
  EXPECT_EQ(form_->box.Value(), CheckBox::kChecked);
  EXPECT_EQ(SendMessageW(box, BM_GETCHECK, 0, 0), BST_CHECKED);
  SendMessageW(box, BM_CLICK, 0, 0);
  EXPECT_EQ(form_->box.Value(), CheckBox::kCleared);
  EXPECT_EQ(form_->clicks, 3);
  // Buttons and labels mirror their models too.
  HWND button = Child(L"Button", L"&Start");
  HWND label = Child(L"Static");
  ASSERT_NE(button, nullptr);
  ASSERT_NE(label, nullptr);
  wchar_t text[64] = {};
  GetWindowTextW(label, text, 64);
  EXPECT_STREQ(text, L"C:\\A&B\\");
  EXPECT_TRUE(GetWindowLongW(label, GWL_STYLE) & SS_NOPREFIX);  // "&" shown as it is
  form_->button.SetCaption("&Stop");
  GetWindowTextW(button, text, 64);
  EXPECT_STREQ(text, L"&Stop");
  form_->button.SetEnabled(false);
  EXPECT_FALSE(IsWindowEnabled(button));
  form_->button.SetEnabled(true);
  SendMessageW(button, BM_CLICK, 0, 0);
  EXPECT_EQ(form_->presses, 1);
  form_->label.SetVisible(false);
  EXPECT_FALSE(IsWindowVisible(label));
  // Controls lie where the layout puts them, at 96 dpi one pixel per unit.
  RECT r;
  GetWindowRect(button, &r);
  MapWindowPoints(nullptr, window_->hwnd(), reinterpret_cast<POINT*>(&r), 2);
  EXPECT_EQ(r.left, MulDiv(118, static_cast<int>(window_->Dpi()), 96));
  EXPECT_EQ(r.right - r.left, MulDiv(75, static_cast<int>(window_->Dpi()), 96));
}

TEST_F(WinRuntimeTest, ClientAreaIsTheLayoutScaledByTheWindowsDpi) {
  RECT client;
  GetClientRect(window_->hwnd(), &client);
  const int dpi = static_cast<int>(GetDpiForWindow(window_->hwnd()));
  EXPECT_EQ(static_cast<int>(window_->Dpi()), dpi);
  EXPECT_EQ(client.right, MulDiv(278, dpi, 96));
  EXPECT_EQ(client.bottom, MulDiv(173, dpi, 96));
  // The fixed single border: no resizing, no maximising.
  const LONG style = GetWindowLongW(window_->hwnd(), GWL_STYLE);
  EXPECT_FALSE(style & WS_THICKFRAME);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
  wchar_t caption[64] = {};
  GetWindowTextW(window_->hwnd(), caption, 64);
  EXPECT_STREQ(caption, L"Runtime Test");
}

TEST_F(WinRuntimeTest, MinimisedAndRestoredByTheSystemTheModelFollows) {
  form_->SetVisible(true);
  ASSERT_TRUE(IsWindowVisible(window_->hwnd()));
  ShowWindow(window_->hwnd(), SW_MINIMIZE);  // as the user or the task bar does
  EXPECT_EQ(form_->State(), WindowState::kMinimized);
  ShowWindow(window_->hwnd(), SW_RESTORE);
  EXPECT_EQ(form_->State(), WindowState::kNormal);
  // And a minimise by the model after that reaches the window again.
  form_->SetWindowState(WindowState::kMinimized);
  EXPECT_TRUE(IsIconic(window_->hwnd()));
}

// A kind of control the runtime has no view for.
class OddControl : public Control {
 public:
  OddControl() : Control("odd", {0, 0, 10, 10}, 0) {}
};

class OddForm : public Form {
 public:
  OddForm() : Form("formOdd") {
    SetBorder(BorderStyle::kNone);
    AddControl(odd);
  }
  void Form_Load() override { ++loads; }
  OddControl odd;
  int loads = 0;
};

TEST_F(WinRuntimeTest, FormWithAControlKindWithoutViewIsNotShownAndEndsCleanly) {
  WinWindowRuntime runtime;
  TestForm owner;
  OddForm odd;
  runtime.ShowModal(odd, owner);
  EXPECT_EQ(odd.loads, 0);
  EXPECT_FALSE(odd.Loaded());
}

}  // namespace
}  // namespace trelvin
