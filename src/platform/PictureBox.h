#pragma once

#include <string>

#include "platform/Bitmap.h"
#include "platform/Control.h"

namespace trelvin {

// A picture box with a persistent off-screen image (the canvas of the desktop grab). The image has
// the control's size; drawing lands in it and it is what gets saved.
class PictureBox : public Control {
 public:
  PictureBox(std::string name, Rect geometry, int tab_index, Rgb back_color);

  Rgb BackColor() const { return back_color_; }

  bool AutoRedraw() const { return auto_redraw_; }
  void SetAutoRedraw(bool on) { auto_redraw_ = on; }

  // Clears the image to the background colour.
  void Cls();
  // Moves and sizes the control; a new size gives a new image in the background colour.
  void Move(Rect geometry);

  Bitmap& Image() { return image_; }
  const Bitmap& Image() const { return image_; }

 private:
  Rgb back_color_;
  bool auto_redraw_ = false;
  Bitmap image_;
};

}  // namespace trelvin
