#pragma once

#include <string>

#include "core/base/Bitmap.h"
#include "core/controls/Control.h"

namespace trelvin {

// A picture box with a persistent off-screen image (the canvas of the desktop grab). The image has
// the control's size; drawing lands in it and it is what gets saved.
class PictureBox : public Control {
 public:
  PictureBox(std::string name, Rect geometry, int tab_index, Rgb back_color);

  Rgb BackColor() const { return back_color_; }

  bool AutoRedraw() const { return auto_redraw_; }
  void SetAutoRedraw(bool on) { auto_redraw_ = on; }

  // Clears the image to the background colour. The clearing is done when the image is next used,
  // so a copy that overwrites the whole image can do it in the same pass (TakePendingClear).
  void Cls() { clear_pending_ = true; }
  // Moves and sizes the control; a new size gives a new image in the background colour.
  void Move(Rect geometry);

  // The image, cleared first when a clear is pending.
  Bitmap& Image();
  const Bitmap& Image() const;
  // Whether a clear is pending; it is then handed to the caller, who must itself leave the
  // background colour in every pixel of Image() that it does not overwrite.
  bool TakePendingClear();

 private:
  Rgb back_color_;
  bool auto_redraw_ = false;
  mutable bool clear_pending_ = false;
  mutable Bitmap image_;
};

}  // namespace trelvin
