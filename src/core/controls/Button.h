#pragma once

#include <functional>
#include <string>

#include "core/controls/Control.h"

namespace trelvin {

// A push button. "&" in the caption marks the keyboard accelerator.
class Button : public Control {
 public:
  Button(std::string name, Rect geometry, int tab_index, std::string caption);

  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string caption);

  std::function<void()> on_click;

 private:
  std::string caption_;
};

}  // namespace trelvin
