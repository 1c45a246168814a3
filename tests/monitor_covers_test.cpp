// Covering the other monitors during a full-screen show, without a display: which monitors get a
// cover as monitors come, go and change roles, and where the covers' input goes.
#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "core/runtime/FormRules.h"
#include "core/runtime/MonitorCovers.h"

namespace trelvin {
namespace {

class Shown : public Form {
 public:
  Shown() : Form("formShown") {
    SetBorder(BorderStyle::kNone);
    SetBackColor(MakeRgb(0, 0, 64));
  }
  void Form_KeyDown(std::int16_t& KeyCode, std::int16_t) override { keys.push_back(KeyCode); }
  void Form_MouseDown(std::int16_t Button, std::int16_t, float x, float y) override {
    clicks.push_back({Button, static_cast<int>(x), static_cast<int>(y)});
  }
  std::vector<std::int16_t> keys;
  std::vector<std::array<int, 3>> clicks;  // button, x, y
};

// An ideal system: the covers are the areas it was last told.
struct Covers : CoverWindows {
  void PlaceCover(std::size_t index, Rect area, Rgb colour) override {
    if (index >= areas.size()) areas.resize(index + 1);
    areas[index] = area;
    colours.push_back(colour);
  }
  void RemoveCovers(std::size_t count) override { areas.resize(count); }
  std::vector<Rect> areas;
  std::vector<Rgb> colours;
};

constexpr Rect kLeft{0, 0, 1024, 768}, kRight{1024, 0, 800, 600}, kBelow{0, 768, 640, 480};

TEST(MonitorCoversTest, EveryMonitorButTheShowsIsCoveredWhicheverIsPrimary) {
  struct Case {
    const char* what;
    std::vector<Rect> monitors;  // the primary first, as the systems list them
    Rect shown;
    std::vector<Rect> after;  // the monitors once changed during the show
    std::vector<Rect> covers;
  };
  const Case kCases[] = {
      {"one monitor", {kLeft}, kLeft, {kLeft}, {}},
      {"two", {kLeft, kRight}, kLeft, {kLeft, kRight}, {kRight}},
      {"shown on the second", {kLeft, kRight}, kRight, {kLeft, kRight}, {kLeft}},
      {"the primary moves to the other", {kLeft, kRight}, kLeft, {kRight, kLeft}, {kRight}},
      {"a third comes, then primary",
       {kLeft, kRight},
       kLeft,
       {kBelow, kRight, kLeft},
       {kBelow, kRight}},
      {"the other goes", {kLeft, kRight}, kLeft, {kLeft}, {}},
      {"a mirror of the show's", {kLeft, kRight}, kLeft, {kRight, kLeft, kLeft}, {kRight}},
      {"an empty output", {kLeft, kRight}, kLeft, {kLeft, Rect{1024, 0, 0, 0}}, {}},
      {"the show on no monitor", {kLeft, kRight}, Rect{}, {kLeft, kRight}, {}},
  };
  for (const Case& c : kCases) {
    Shown form;
    FormEvents events(form);
    Covers system;
    MonitorCovers covers(form, events, system);
    covers.Follow(c.monitors, c.shown);
    covers.Follow(c.after, c.shown);
    EXPECT_EQ(system.areas, c.covers) << c.what;
    EXPECT_EQ(covers.Count(), c.covers.size()) << c.what;
    for (Rgb colour : system.colours) EXPECT_EQ(colour, form.BackColor()) << c.what;
  }
}

TEST(MonitorCoversTest, AKeyAClickOrACloseOnACoverActsOnTheShow) {
  Shown form;
  form.RunLoad();
  FormEvents events(form);
  Covers system;
  MonitorCovers covers(form, events, system);
  covers.Follow({kLeft, kRight}, kLeft);
  EXPECT_TRUE(covers.KeyDown(0x1B, 0));
  covers.MouseDown(kRightButton, 0, 1100, 20);
  EXPECT_EQ(form.keys, std::vector<std::int16_t>{0x1B});
  ASSERT_EQ(form.clicks.size(), 1u);
  EXPECT_EQ(form.clicks[0], (std::array<int, 3>{kRightButton, 1100, 20}));
  covers.CloseRequested();
  EXPECT_FALSE(form.Loaded());
  // Once the show has unloaded, a late key on a cover reaches nothing.
  EXPECT_TRUE(covers.KeyDown(0x1B, 0));
  EXPECT_EQ(form.keys.size(), 1u);
}

}  // namespace
}  // namespace trelvin
