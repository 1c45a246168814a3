#include "core/controls/Label.h"

#include <utility>

namespace trelvin {

Label::Label(std::string name, Rect geometry, int tab_index, std::string caption, LabelStyle style)
    : Control(std::move(name), geometry, tab_index), caption_(std::move(caption)), style_(style) {}

void Label::SetCaption(std::string caption) {
  if (caption == caption_) return;
  caption_ = std::move(caption);
  ViewChanged();
}

void Label::SetToolTipText(std::string tooltip) {
  if (tooltip == tooltip_) return;
  tooltip_ = std::move(tooltip);
  ViewChanged();
}

}  // namespace trelvin
