#pragma once

#include <functional>
#include <string>

#include "core/controls/Control.h"

namespace trelvin {

struct LabelStyle {
  Rgb fore_color = MakeRgb(0, 0, 0);
  bool underline = false;
  bool link_cursor = false;  // shows a pointing hand, as links do
};

// A static text with a tooltip; it reports clicks and double-clicks.
class Label : public Control {
 public:
  Label(std::string name, Rect geometry, int tab_index, std::string caption, LabelStyle style = {});

  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string caption);

  const std::string& ToolTipText() const { return tooltip_; }
  void SetToolTipText(std::string tooltip);

  const LabelStyle& Style() const { return style_; }

  std::function<void()> on_click;
  std::function<void()> on_dbl_click;

 private:
  std::string caption_;
  std::string tooltip_;
  LabelStyle style_;
};

}  // namespace trelvin
