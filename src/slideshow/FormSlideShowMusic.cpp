// FIXME: placeholder bodies until the music is built.
#include "shell/FormMainSlide.h"
#include "slideshow/FormSlideShow.h"

namespace trelvin {

void FormSlideShow::PlayMusic(bool) {}
void FormSlideShow::StopMusic() {}
void FormSlideShow::CheckSongEnd() {}
void FormMainSlide::StartWinamp() {}

}  // namespace trelvin
