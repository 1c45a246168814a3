#include "platform/PictureBox.h"

#include <utility>

namespace trelvin {

PictureBox::PictureBox(std::string name, Rect geometry, int tab_index, Rgb back_color)
    : Control(std::move(name), geometry, tab_index), back_color_(back_color) {
  image_.Resize(geometry.width, geometry.height, back_color_);
}

void PictureBox::Cls() { image_.Fill(back_color_); }

void PictureBox::Move(Rect geometry) {
  if (geometry.width != image_.width || geometry.height != image_.height) {
    image_.Resize(geometry.width, geometry.height, back_color_);
  }
  SetGeometry(geometry);
}

}  // namespace trelvin
