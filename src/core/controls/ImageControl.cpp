#include "core/controls/ImageControl.h"

#include <utility>

namespace trelvin {

ImageControl::ImageControl(std::string name, Rect geometry, int tab_index)
    : Control(std::move(name), geometry, tab_index) {}

void ImageControl::SetPicture(std::shared_ptr<const Picture> picture) {
  picture_ = std::move(picture);
  if (!stretch_) FitToPicture();
  ViewChanged();
}

void ImageControl::SetStretch(bool stretch) {
  stretch_ = stretch;
  if (!stretch_) FitToPicture();
  ViewChanged();
}

void ImageControl::FitToPicture() {
  if (!picture_) return;
  Rect g = Geometry();
  const Size s = picture_->PixelSize();
  g.width = s.width;
  g.height = s.height;
  SetGeometry(g);
}

}  // namespace trelvin
