#include "slideshow/FormSlideShow.h"

#include "shell/FormMainSlide.h"

namespace trelvin {

FormSlideShow::FormSlideShow(Services& services, FormMainSlide& owner)
    : Form("formSlideShow"),
      Timer1("Timer1", 100, true),
      Image1("Image1", {0, 0, 0, 0}, 0),
      services_(services),
      owner_(owner) {
  SetBorder(BorderStyle::kNone);
  SetBackColor(MakeRgb(0, 0, 64));
  AddControl(Image1);
  AddTimer(Timer1);
  Timer1.on_timer = [this] { Timer1_Timer(); };
  Image1.on_click = [this] { Image1_Click(); };
}

}  // namespace trelvin
