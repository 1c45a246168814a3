#include "core/controls/PictureBox.h"

#include <utility>

namespace trelvin {

PictureBox::PictureBox(std::string name, Rect geometry, int tab_index, Rgb back_color)
    : Control(std::move(name), geometry, tab_index), back_color_(back_color) {
  image_.Resize(geometry.width, geometry.height, back_color_);
}

void PictureBox::Move(Rect geometry) {
  if (geometry.width != image_.width || geometry.height != image_.height) {
    image_.Resize(geometry.width, geometry.height, back_color_);
    clear_pending_ = false;
  }
  SetGeometry(geometry);
}

Bitmap& PictureBox::Image() {
  return const_cast<Bitmap&>(static_cast<const PictureBox*>(this)->Image());
}

const Bitmap& PictureBox::Image() const {
  if (clear_pending_) {
    image_.Fill(back_color_);
    clear_pending_ = false;
  }
  return image_;
}

bool PictureBox::TakePendingClear() {
  const bool pending = clear_pending_;
  clear_pending_ = false;
  return pending;
}

}  // namespace trelvin
