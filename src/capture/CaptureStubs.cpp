// FIXME: placeholder bodies until capturing is built.
#include "shell/FormMainSlide.h"

namespace trelvin {

void FormMainSlide::btnStart_Click() {}
void FormMainSlide::Timer1_Timer() {}
void FormMainSlide::CaptureScreen(PictureBox&, const std::string&) {}
void FormMainSlide::LaunchEmulator() {}

}  // namespace trelvin
