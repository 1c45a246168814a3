#pragma once

#include "os/windows/WinApi.h"

#include <memory>

#include "core/controls/ImageControl.h"
#include "os/windows/window/WinControlView.h"

namespace trelvin {

class WinFormWindow;

// The view of an image control (the slide show's picture): its picture drawn into the control's
// rectangle in device pixels, stretched to it (with stretch off the model sizes the rectangle to
// the picture, so it is drawn one picture pixel per device pixel). A click is the control's.
std::unique_ptr<WinControlView> MakeImageView(ImageControl& image, WinFormWindow& window);

}  // namespace trelvin
