// The control models' semantics that the forms rely on.
#include <gtest/gtest.h>

#include "core/controls/CheckBox.h"
#include "core/controls/Form.h"
#include "core/controls/PictureBox.h"
#include "core/controls/ScrollBar.h"
#include "core/controls/Timer.h"

namespace trelvin {
namespace {

TEST(ScrollBarTest, RefusesValuesOutsideItsRangeAndRaisesChangeOnlyOnRealChange) {
  ScrollBar bar("bar", {}, 0, 1, 600, 1, 10, 1);
  int changes = 0, view_updates = 0;
  bar.on_change = [&] { ++changes; };
  bar.on_view_changed = [&] { ++view_updates; };

  EXPECT_FALSE(bar.SetValue(0));
  EXPECT_FALSE(bar.SetValue(601));
  EXPECT_FALSE(bar.SetValue(70000));
  EXPECT_EQ(bar.Value(), 1);
  EXPECT_EQ(changes, 0);

  EXPECT_TRUE(bar.SetValue(1));  // the same value: accepted, but nothing happens
  EXPECT_EQ(changes, 0);
  EXPECT_TRUE(bar.SetValue(600));
  EXPECT_EQ(bar.Value(), 600);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(view_updates, 1);
}

TEST(CheckBoxTest, HoldsOnlyZeroOneTwoAndClicksOnEveryChange) {
  CheckBox box("box", {}, 0, "Music");
  std::vector<int> seen;
  box.on_click = [&] { seen.push_back(box.Value()); };
  EXPECT_FALSE(box.SetValue(3));
  EXPECT_FALSE(box.SetValue(-1));
  EXPECT_TRUE(box.SetValue(0));
  EXPECT_TRUE(box.SetValue(2));
  EXPECT_TRUE(box.SetValue(1));
  EXPECT_TRUE(box.SetValue(1));
  EXPECT_EQ(seen, (std::vector<int>{2, 1}));
}

TEST(ControlTest, PropertySettersNotifyTheViewOnlyOnChange) {
  Timer timer("t", 1000, false);
  int updates = 0;
  timer.on_view_changed = [&] { ++updates; };
  timer.SetEnabled(false);
  timer.SetEnabled(true);
  timer.SetInterval(1000);
  EXPECT_EQ(updates, 1);
}

TEST(PictureBoxTest, ClsIsDoneOnUseOrHandedToTheCallerAndANewSizeIsBlank) {
  PictureBox canvas("Picture1", {0, 0, 2, 1}, 0, 0x112233);
  EXPECT_FALSE(canvas.TakePendingClear());
  canvas.Image().Fill(0xFFFFFF);
  canvas.Cls();
  EXPECT_EQ(canvas.Image().pixels, std::vector<std::uint32_t>(2, 0x112233));
  canvas.Image().Fill(0xFFFFFF);
  canvas.Cls();
  EXPECT_TRUE(canvas.TakePendingClear());
  EXPECT_FALSE(canvas.TakePendingClear());
  // Handed over: the image is left to the caller as it was.
  EXPECT_EQ(canvas.Image().pixels, std::vector<std::uint32_t>(2, 0xFFFFFF));
  // A new size is a fresh blank image, so nothing is pending any more.
  canvas.Cls();
  canvas.Move({0, 0, 3, 1});
  EXPECT_FALSE(canvas.TakePendingClear());
  canvas.Image().Fill(0xFFFFFF);
  canvas.Move({0, 0, 1, 1});
  EXPECT_EQ(canvas.Image().width, 1);
  EXPECT_EQ(canvas.Image().pixels, std::vector<std::uint32_t>(1, 0x112233));
  // Read through a const reference, the pending clear is done too.
  canvas.Image().Fill(0xFFFFFF);
  canvas.Cls();
  const PictureBox& view = canvas;
  EXPECT_EQ(view.Image().pixels, std::vector<std::uint32_t>(1, 0x112233));
  EXPECT_FALSE(canvas.TakePendingClear());
}

class CountingForm : public Form {
 public:
  CountingForm() : Form("f") {}
  void Form_Load() override { ++loads; }
  void Form_Unload(std::int16_t&) override { ++unloads; }
  int loads = 0, unloads = 0;
};

TEST(FormTest, LoadAndUnloadRunOnceEachAndUnloadHides) {
  CountingForm form;
  form.Unload();  // not loaded: nothing to do
  form.RunLoad();
  form.RunLoad();
  form.SetVisible(true);
  form.Unload();
  form.Unload();
  EXPECT_EQ(form.loads, 1);
  EXPECT_EQ(form.unloads, 1);
  EXPECT_FALSE(form.Visible());
  EXPECT_FALSE(form.Loaded());
}

}  // namespace
}  // namespace trelvin
