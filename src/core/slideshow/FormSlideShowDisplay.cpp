// The timed advance of the slides and the display of one slide.
#include <cstdint>

#include "core/base/Guard.h"
#include "core/base/Int16Counter.h"
#include "core/base/RandomIndex.h"
#include "core/slideshow/FormSlideShow.h"

namespace trelvin {

void FormSlideShow::Timer1_Timer() {
  Step([&] { IncrementInt16(SlideTicks); });
  if (SlideTicks < Interval) return;
  Step([&] { SlideTicks = 0; });
  // The song-end check runs on every due change, even without pictures.
  Step([&] { CheckSongEnd(); });
  std::int16_t count = 0;
  Step([&] { count = lstImages.ListCount(); });
  if (count == 0) return;
  Step([&] {
    if (!RandomFlag) return;
    PictureIndex = RandomIndex(random_.Next(), count);
  });
  Step([&] {
    if (PictureIndex >= count) PictureIndex = 0;
  });
  Step([&] { ShowSlide(); });
  Step([&] { IncrementInt16(PictureIndex); });
  Step([&] { PrepareNextSlide(); });
}

void FormSlideShow::ShowSlide() {
  // Only the S key asks for a position outside the list (right after the timer passed the last
  // entry). Then nothing new is named or loaded: the picture on screen stays and is re-placed.
  const bool named = Step([&] { CurrentName = lstImages.List(PictureIndex); });
  if (named) {
    Step([&] { CurrentPath = PicturePath + CurrentName; });
    // A picture that cannot be loaded leaves the previous one in the control.
    Step([&] {
      auto picture = services_.pictures.LoadPicture(CurrentPath, SlideDisplaySize());
      Require(picture != nullptr);
      Image1.SetPicture(std::move(picture));
      shown_name_ = CurrentName;
      shown_path_ = CurrentPath;
    });
  }
  if (StretchFlag) {
    Step([&] {
      const Rect window = Geometry();
      Image1.SetStretch(true);
      Image1.SetGeometry({0, 0, window.width, window.height});
    });
  } else {
    Step([&] {
      const Rect window = Geometry();
      // Turning stretch off gives the control the picture's natural size.
      Image1.SetStretch(false);
      Rect g = Image1.Geometry();
      // Integer division truncates toward zero, so a larger picture is cut off evenly.
      g.left = (window.width - g.width) / 2;
      g.top = (window.height - g.height) / 2;
      Image1.SetGeometry(g);
    });
  }
  // While the timer runs, the timed advance prepares the next slide once its index has moved on.
  if (!Timer1.Enabled()) Step([&] { PrepareNextSlide(); });
}

Size FormSlideShow::SlideDisplaySize() {
  const Rect window = Geometry();
  return StretchFlag ? Size{window.width, window.height} : Size{};
}

bool FormSlideShow::NextIndex(std::int16_t& position, const std::int16_t& count) {
  if (count <= 0) return false;
  if (position >= count - 1) {
    position = 0;
  } else {
    ++position;
  }
  return true;
}

bool FormSlideShow::PreviousIndex(std::int16_t& position, const std::int16_t& count) {
  if (count <= 0) return false;
  if (position > 0) {
    --position;
  } else {
    position = static_cast<std::int16_t>(count - 1);
  }
  return true;
}

}  // namespace trelvin
