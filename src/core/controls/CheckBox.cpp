#include "core/controls/CheckBox.h"

#include <utility>

namespace trelvin {

CheckBox::CheckBox(std::string name, Rect geometry, int tab_index, std::string caption)
    : Control(std::move(name), geometry, tab_index), caption_(std::move(caption)) {}

bool CheckBox::SetValue(long value) {
  if (value < kCleared || value > kGrayed) return false;
  if (value == value_) return true;
  value_ = static_cast<std::int16_t>(value);
  ViewChanged();
  if (on_click) on_click();
  return true;
}

}  // namespace trelvin
