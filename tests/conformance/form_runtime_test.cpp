// The rules every window runtime keeps, checked through each one (Qt on Xvfb, Win32 under Wine):
// timers never tick inside another handler of their form, keys and clicks reach the form with
// their Shift state, Tab follows the tab order, a form that covers the screen goes full screen,
// and closing is unloading, after which nothing reaches the form.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "conformance/RuntimeDriver.h"
#include "core/base/VirtualKeys.h"
#include "core/controls/Button.h"
#include "core/controls/CheckBox.h"
#include "core/controls/Label.h"
#include "core/controls/ScrollBar.h"
#include "core/runtime/FormRules.h"

namespace trelvin::conformance {
namespace {

struct Press {
  std::int16_t button, shift;
  float x, y;
  friend bool operator==(const Press&, const Press&) = default;
};

class TestForm : public Form {
 public:
  TestForm(BorderStyle border, Rect geometry, int interval = 10, bool enabled = true)
      : Form("formTest"), timer("Timer1", interval, enabled), zero("Timer2", 0, true) {
    SetCaption("Conformance");
    SetBorder(border);
    Move(geometry);
    AddTimer(timer);
    AddTimer(zero);
    timer.on_timer = [this] {
      ++ticks;
      if (on_tick) on_tick();
    };
    zero.on_timer = [this] { ++zero_ticks; };
  }
  void Form_Unload(std::int16_t&) override { ++unloads; }
  void Form_KeyDown(std::int16_t& key, std::int16_t shift) override {
    keys.emplace_back(key, shift);
    if (on_key) on_key(key);
  }
  void Form_MouseDown(std::int16_t button, std::int16_t shift, float x, float y) override {
    presses.push_back({button, shift, x, y});
  }
  using Form::AddControl;

  Timer timer, zero;
  int ticks = 0, zero_ticks = 0, unloads = 0;
  std::vector<std::pair<std::int16_t, std::int16_t>> keys;
  std::vector<Press> presses;
  std::function<void()> on_tick;
  std::function<void(std::int16_t)> on_key;
};

class FormRuntimeTest : public ::testing::Test {
 protected:
  // A borderless form of its own on the screen, its timer running.
  TestForm& Open(BorderStyle border = BorderStyle::kNone, Rect at = {40, 40, 200, 150}) {
    forms_.push_back(std::make_unique<TestForm>(border, at));
    EXPECT_TRUE(driver_->Open(*forms_.back()));
    return *forms_.back();
  }
  void TearDown() override {
    for (auto& form : forms_) driver_->Discard(*form);
  }

  std::unique_ptr<RuntimeDriver> driver_ = MakeDriver();
  std::vector<std::unique_ptr<TestForm>> forms_;
};

TEST_F(FormRuntimeTest, TimerNeverTicksInsideAnotherHandlerOfItsFormButOtherFormsDo) {
  TestForm& show = Open();
  TestForm& other = Open(BorderStyle::kNone, {260, 40, 200, 150});
  ASSERT_TRUE(driver_->PumpUntil([&] { return show.ticks >= 2; }));
  int inside = -1;
  bool other_ticked = false;
  show.on_key = [&](std::int16_t) {
    // A nested loop, as a message box runs one inside the key handler.
    const int show_before = show.ticks, other_before = other.ticks;
    other_ticked = driver_->PumpUntil([&] { return other.ticks >= other_before + 5; });
    inside = show.ticks - show_before;
  };
  driver_->PostKey(show, kVkSpace, 0);
  ASSERT_TRUE(driver_->PumpUntil([&] { return inside >= 0; }));
  EXPECT_TRUE(other_ticked);
  EXPECT_EQ(inside, 0);
  const int after = show.ticks;
  EXPECT_TRUE(driver_->PumpUntil([&] { return show.ticks > after; }));
}

TEST_F(FormRuntimeTest, IntervalZeroStopsATimerAndANewIntervalStartsItAgain) {
  TestForm& form = Open();
  TestForm& clock = Open(BorderStyle::kNone, {260, 40, 200, 150});
  form.on_tick = [&] { form.timer.SetInterval(0); };
  ASSERT_TRUE(driver_->PumpUntil([&] { return clock.ticks >= 10; }));
  EXPECT_EQ(form.ticks, 1);
  EXPECT_EQ(form.zero_ticks + clock.zero_ticks, 0);  // enabled with interval 0: never
  form.on_tick = nullptr;
  form.timer.SetInterval(10);
  EXPECT_TRUE(driver_->PumpUntil([&] { return form.ticks >= 3; }));
}

TEST_F(FormRuntimeTest, KeysAndClicksReachABorderlessFormWithTheirShiftState) {
  TestForm& form = Open();
  using Key = std::pair<std::int16_t, std::int16_t>;
  const std::vector<Key> keys = {{kVkNext, kShiftMask | kCtrlMask}, {kVkF10, 0}, {kVkS, kAltMask}};
  for (const Key& key : keys) {  // one by one: each with its own modifiers held
    driver_->PostKey(form, key.first, key.second);
    ASSERT_TRUE(driver_->PumpUntil([&] { return !form.keys.empty() && form.keys.back() == key; }));
  }
  EXPECT_EQ(form.keys, keys);
  driver_->PostMouseDown(form, kRightButton, kShiftMask, 20, 30);
  driver_->PostMouseDown(form, kLeftButton, kCtrlMask, 5, 6);
  ASSERT_TRUE(driver_->PumpUntil([&] { return form.presses.size() == 2; }));
  EXPECT_EQ(form.presses, (std::vector<Press>{{kRightButton, kShiftMask, 20, 30},
                                              {kLeftButton, kCtrlMask, 5, 6}}));
}

// Controls added out of order; equal tab indexes keep the order they were added in.
struct TabForm : TestForm {
  TabForm() : TestForm(BorderStyle::kFixedSingle, {40, 40, 240, 160}) {
    hidden.SetVisible(false);
    off.SetEnabled(false);
    for (Control* c :
         std::initializer_list<Control*>{&box, &off, &second, &bar, &label, &hidden, &first}) {
      AddControl(*c);
    }
  }
  ScrollBar bar{"bar", {10, 10, 120, 16}, 0, 1, 10, 1, 2, 1};
  Label label{"label", {10, 30, 120, 16}, 0, "label"};
  Button hidden{"hidden", {10, 50, 60, 24}, 1, "Hidden"};
  Button second{"second", {80, 80, 60, 24}, 1, "Second"};
  Button first{"first", {10, 80, 60, 24}, 1, "First"};  // added after `second`: it follows
  CheckBox box{"box", {10, 110, 100, 20}, 2, "Box"};
  Button off{"off", {150, 80, 60, 24}, 3, "Off"};
};

TEST_F(FormRuntimeTest, TabFollowsTheTabOrderOverEnabledVisibleControlsThatTakeTheFocus) {
  forms_.push_back(std::make_unique<TabForm>());
  auto& f = static_cast<TabForm&>(*forms_.back());
  ASSERT_TRUE(driver_->Open(f));
  const auto tab = [&](std::int16_t shift, const Control* expected) {
    driver_->PostKey(f, kVkTab, shift);
    EXPECT_TRUE(driver_->PumpUntil([&] { return driver_->Focused(f) == expected; }))
        << expected->Name();
  };
  ASSERT_TRUE(driver_->PumpUntil([&] { return driver_->Focused(f) == &f.bar; }));
  tab(0, &f.second);
  tab(0, &f.first);
  tab(0, &f.box);
  tab(0, &f.bar);  // round again
  tab(kShiftMask, &f.box);
  f.first.SetEnabled(false);
  tab(kShiftMask, &f.second);
  // A form with a border leaves its keys to its controls.
  EXPECT_TRUE(f.keys.empty());
}

TEST_F(FormRuntimeTest, BorderlessFormThatCoversThePrimaryScreenGoesFullScreen) {
  const Size screen = driver_->PrimaryScreen();
  TestForm& partial = Open(BorderStyle::kNone, {0, 0, screen.width - 1, screen.height});
  TestForm& placed = Open(BorderStyle::kNone, {30, 20, 300, 200});
  EXPECT_TRUE(driver_->PumpUntil([&] {
    return driver_->WindowRect(placed) == Rect{30, 20, 300, 200};
  }));
  EXPECT_TRUE(driver_->PumpUntil([&] {
    return driver_->WindowRect(partial) == Rect{0, 0, screen.width - 1, screen.height};
  }));
  EXPECT_FALSE(driver_->FullScreen(partial));
  partial.Move({0, 0, screen.width, screen.height});
  EXPECT_TRUE(driver_->PumpUntil([&] {
    return driver_->FullScreen(partial) &&
           driver_->WindowRect(partial) == Rect{0, 0, screen.width, screen.height};
  }));
  TestForm& covering = Open(BorderStyle::kNone, {0, 0, screen.width, screen.height});
  EXPECT_TRUE(driver_->PumpUntil([&] { return driver_->FullScreen(covering); }));
}

TEST_F(FormRuntimeTest, ClosingUnloadsOnceAndNothingReachesTheFormAfterItsUnload) {
  TestForm& form = Open();
  TestForm& marker = Open(BorderStyle::kNone, {260, 40, 200, 150});
  form.on_key = [&](std::int16_t key) {
    if (key == kVkEscape) form.Unload();
  };
  // Queued behind the key that unloads the form: a key, a click, two close requests.
  driver_->PostKey(form, kVkEscape, 0);
  driver_->PostKey(form, kVkDelete, 0);
  driver_->PostMouseDown(form, kLeftButton, 0, 5, 5);
  driver_->PostClose(form);
  driver_->PostClose(form);
  driver_->PostKey(marker, kVkDelete, 0);
  ASSERT_TRUE(driver_->PumpUntil([&] { return !marker.keys.empty(); }));
  EXPECT_FALSE(form.Loaded());
  EXPECT_EQ(form.unloads, 1);
  EXPECT_EQ(form.keys.size(), 1u);
  EXPECT_TRUE(form.presses.empty());
  // Its timer is done with too, while others still run.
  const int ticks = form.ticks;
  ASSERT_TRUE(driver_->PumpUntil([&] { return marker.ticks >= 5; }));
  EXPECT_EQ(form.ticks, ticks);
  // A close request by itself unloads a form just the same, and ends its modal show.
  TestForm modal(BorderStyle::kNone, {60, 60, 200, 150});
  modal.on_tick = [&] {
    if (modal.ticks == 1) driver_->PostClose(modal), driver_->PostClose(modal);
  };
  driver_->ShowModal(modal, marker);
  EXPECT_EQ(modal.unloads, 1);
  EXPECT_FALSE(modal.Loaded());
}

}  // namespace
}  // namespace trelvin::conformance
