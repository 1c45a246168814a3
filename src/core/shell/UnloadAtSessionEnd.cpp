#include "core/shell/UnloadAtSessionEnd.h"

#include "core/shell/FormMainSlide.h"
#include "core/slideshow/FormSlideShow.h"

namespace trelvin {

void UnloadAtSessionEnd(FormMainSlide& settings) {
  // As the user would close them: the show (its music stops, the cursor comes back) before the
  // window it was opened from, which must never go while a window it owns is up.
  if (settings.HasSlideShow()) settings.formSlideShow().Unload();
  settings.Unload();
}

}  // namespace trelvin
