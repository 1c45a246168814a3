#include "core/controls/Button.h"

#include <utility>

namespace trelvin {

Button::Button(std::string name, Rect geometry, int tab_index, std::string caption)
    : Control(std::move(name), geometry, tab_index), caption_(std::move(caption)) {}

void Button::SetCaption(std::string caption) {
  if (caption == caption_) return;
  caption_ = std::move(caption);
  ViewChanged();
}

}  // namespace trelvin
