#include "core/runtime/MonitorCovers.h"

namespace trelvin {

namespace {

bool Empty(const Rect& r) { return r.width <= 0 || r.height <= 0; }

bool Overlap(const Rect& a, const Rect& b) {
  return a.left < b.left + b.width && b.left < a.left + a.width && a.top < b.top + b.height &&
         b.top < a.top + a.height;
}

}  // namespace

std::vector<Rect> MonitorsToCover(const std::vector<Rect>& monitors, Rect shown) {
  std::vector<Rect> covered;
  if (Empty(shown)) return covered;
  for (const Rect& monitor : monitors) {
    if (!Empty(monitor) && !Overlap(monitor, shown)) covered.push_back(monitor);
  }
  return covered;
}

void MonitorCovers::Follow(const std::vector<Rect>& monitors, Rect shown) {
  const std::vector<Rect> areas = MonitorsToCover(monitors, shown);
  for (std::size_t i = 0; i < areas.size(); ++i)
    windows_.PlaceCover(i, areas[i], shown_.BackColor());
  if (areas.size() < count_) windows_.RemoveCovers(areas.size());
  count_ = areas.size();
}

}  // namespace trelvin
