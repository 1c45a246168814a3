// Preparing the picture of the next slide while the current one shows.
#include <cstdint>

#include "core/base/Guard.h"
#include "core/base/RandomIndex.h"
#include "core/slideshow/FormSlideShow.h"

namespace trelvin {

void FormSlideShow::PrepareNextSlide() {
  const std::int16_t count = lstImages.ListCount();
  if (count == 0) return;
  std::int16_t next = PictureIndex;
  if (Timer1.Enabled()) {
    // In random order the next timed change takes the next value of the random sequence; looked
    // at now, it stays that change's unless a song is drawn first (the change then misses the
    // prepared picture and loads its own).
    if (RandomFlag) next = RandomIndex(random_.Peek(), count);
    if (next >= count || next < 0) next = 0;
  } else {
    // Paused after Page Up or Page Down: the picture Page Down shows next, in either order.
    if (!NextIndex(next, count)) return;
  }
  services_.pictures.PreparePicture(PicturePath + lstImages.List(next), SlideDisplaySize());
}

}  // namespace trelvin
