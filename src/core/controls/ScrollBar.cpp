#include "core/controls/ScrollBar.h"

#include <utility>

namespace trelvin {

ScrollBar::ScrollBar(std::string name, Rect geometry, int tab_index, std::int16_t min,
                     std::int16_t max, std::int16_t small_change, std::int16_t large_change,
                     std::int16_t value)
    : Control(std::move(name), geometry, tab_index),
      min_(min),
      max_(max),
      small_change_(small_change),
      large_change_(large_change),
      value_(value) {}

bool ScrollBar::SetValue(long value) {
  if (value < min_ || value > max_) return false;
  if (value == value_) return true;
  value_ = static_cast<std::int16_t>(value);
  ViewChanged();
  if (on_change) on_change();
  return true;
}

}  // namespace trelvin
