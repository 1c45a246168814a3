#include "core/slideshow/FormSlideShow.h"

#include <utility>

namespace trelvin {

FormSlideShow::FormSlideShow(Services& services, ShowOwner owner)
    : Form("formSlideShow"),
      Timer1("Timer1", 100, true),
      Image1("Image1", {0, 0, 0, 0}, 0),
      services_(services),
      random_(services.random),
      owner_(std::move(owner)) {
  SetBorder(BorderStyle::kNone);
  SetBackColor(MakeRgb(0, 0, 64));
  AddControl(Image1);
  AddTimer(Timer1);
  Timer1.on_timer = [this] { Timer1_Timer(); };
  Image1.on_click = [this] { Image1_Click(); };
}

}  // namespace trelvin
