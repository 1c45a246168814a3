// FIXME: placeholder bodies until the slide show and its music are built.
#include "slideshow/FormSlideShow.h"

namespace trelvin {

void FormSlideShow::Form_Load() {}
void FormSlideShow::Form_Unload(std::int16_t&) {}
void FormSlideShow::Form_MouseDown(std::int16_t, std::int16_t, float, float) { Unload(); }
void FormSlideShow::Image1_Click() { Unload(); }
void FormSlideShow::HideCursor() {}
void FormSlideShow::RestoreCursor() {}
void FormSlideShow::Timer1_Timer() {}
void FormSlideShow::ShowSlide() {}
bool FormSlideShow::NextIndex(std::int16_t&, const std::int16_t&) { return false; }
bool FormSlideShow::PreviousIndex(std::int16_t&, const std::int16_t&) { return false; }
void FormSlideShow::Form_KeyDown(std::int16_t&, std::int16_t) { Unload(); }
bool FormSlideShow::ConfirmPrompt(const std::string&) { return false; }

}  // namespace trelvin
