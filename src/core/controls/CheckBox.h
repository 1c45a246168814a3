#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "core/controls/Control.h"

namespace trelvin {

// A check box with the states 0 cleared, 1 checked, 2 grayed. Any other state is refused. A real
// change of the state raises on_click, whether the user or an assignment made it.
class CheckBox : public Control {
 public:
  static constexpr std::int16_t kCleared = 0;
  static constexpr std::int16_t kChecked = 1;
  static constexpr std::int16_t kGrayed = 2;

  CheckBox(std::string name, Rect geometry, int tab_index, std::string caption);

  const std::string& Caption() const { return caption_; }
  std::int16_t Value() const { return value_; }

  // Returns false, changing nothing, for a state other than 0, 1 or 2.
  bool SetValue(long value);

  std::function<void()> on_click;

 private:
  std::string caption_;
  std::int16_t value_ = kCleared;
};

}  // namespace trelvin
