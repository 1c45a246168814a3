#pragma once

#include <memory>
#include <string>

#include "core/base/Picture.h"
#include "core/controls/Control.h"

namespace trelvin {

// The picture control of the slide show. With stretch on, the picture fills the control's
// rectangle; with stretch off, the control takes the picture's natural size.
class ImageControl : public Control {
 public:
  ImageControl(std::string name, Rect geometry, int tab_index);

  const std::shared_ptr<const Picture>& CurrentPicture() const { return picture_; }
  // Makes `picture` the shown picture; with stretch off the control takes its natural size.
  void SetPicture(std::shared_ptr<const Picture> picture);

  bool Stretch() const { return stretch_; }
  // Turning stretch off gives the control the picture's natural size.
  void SetStretch(bool stretch);

  std::function<void()> on_click;

 private:
  void FitToPicture();

  std::shared_ptr<const Picture> picture_;
  bool stretch_ = false;
};

}  // namespace trelvin
