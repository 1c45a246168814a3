// Which monitors get a cover during a full-screen show, without a display.
#include <gtest/gtest.h>

#include <vector>

#include "core/runtime/MonitorCovers.h"

namespace trelvin {
namespace {

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

TEST(MonitorCoversTest, EveryMonitorButTheShowsIsCoveredInItsColourWhicheverIsPrimary) {
  constexpr Rect a{0, 0, 1024, 768}, b{1024, 0, 800, 600}, c{0, 768, 640, 480}, off{1024, 0, 0, 0};
  // Monitors at the start (the primary first), the show's, monitors changed during it -> covers.
  const struct {
    std::vector<Rect> before;
    Rect shown;
    std::vector<Rect> after, covers;
  } kCases[] = {
      {{a}, a, {a}, {}},
      {{a, b}, b, {a, b}, {a}},
      {{a, b}, a, {b, a}, {b}},        // the primary moves to the other monitor
      {{a, b}, a, {c, b, a}, {c, b}},  // a third comes and becomes the primary
      {{a, b}, a, {a}, {}},            // the other goes
      {{a, b}, a, {b, a, a}, {b}},     // a mirror of the show's monitor
      {{a, b}, a, {a, off}, {}},       // an output without a mode
      {{a, b}, Rect{}, {a, b}, {}},    // the show's place unknown: it is never hidden
  };
  Form shown("formShown");
  FormEvents events(shown);
  for (const auto& t : kCases) {
    Covers system;
    MonitorCovers covers(shown, events, system);
    covers.Follow(t.before, t.shown);
    covers.Follow(t.after, t.shown);
    EXPECT_EQ(system.areas, t.covers) << "case " << &t - kCases;
    for (Rgb colour : system.colours) EXPECT_EQ(colour, shown.BackColor());
  }
}

}  // namespace
}  // namespace trelvin
