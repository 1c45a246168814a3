// Preparing the picture of the next slide while the current one shows.
#include <cstdint>

#include "core/base/Guard.h"
#include "core/slideshow/FormSlideShow.h"

namespace trelvin {

void FormSlideShow::PrepareNextSlide() {
  const std::int16_t count = lstImages.ListCount();
  if (count == 0) return;
  std::int16_t next = PictureIndex;
  if (Timer1.Enabled()) {
    // The next timed change draws its picture at random: nothing is fixed before that draw, and
    // drawing early would change which value the songs get.
    if (RandomFlag) return;
    if (next >= count || next < 0) next = 0;
  } else {
    // Paused after Page Up or Page Down: the picture Page Down shows next, in either order.
    if (!NextIndex(next, count)) return;
  }
  const Rect window = Geometry();
  const Size display = StretchFlag ? Size{window.width, window.height} : Size{};
  services_.pictures.PreparePicture(PicturePath + lstImages.List(next), display);
}

}  // namespace trelvin
