#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "core/controls/Control.h"

namespace trelvin {

// A horizontal scroll bar. It holds only values within [min, max]: assigning anything else is
// refused (SetValue returns false and nothing changes), never clamped. A real change of the value
// raises on_change; assigning the value it already has raises nothing.
class ScrollBar : public Control {
 public:
  ScrollBar(std::string name, Rect geometry, int tab_index, std::int16_t min, std::int16_t max,
            std::int16_t small_change, std::int16_t large_change, std::int16_t value);

  std::int16_t Min() const { return min_; }
  std::int16_t Max() const { return max_; }
  std::int16_t SmallChange() const { return small_change_; }
  std::int16_t LargeChange() const { return large_change_; }
  std::int16_t Value() const { return value_; }

  // Returns false, changing nothing, when `value` lies outside [Min(), Max()].
  bool SetValue(long value);

  std::function<void()> on_change;

 private:
  std::int16_t min_, max_, small_change_, large_change_, value_;
};

}  // namespace trelvin
