#pragma once

#include <string>

#include "core/controls/PictureBox.h"
#include "core/services/Services.h"

namespace trelvin {

// The capture's work outside the settings window: the desktop grabbed into a JPEG file, and the
// game emulator brought up. Every step is guarded; a failed step has no effect.
class DesktopCapture {
 public:
  explicit DesktopCapture(Services& services) : services_(services) {}

  // DesktopCapture.cpp: the whole screen into `canvas`, saved as basePath + ".bmp", converted
  // into basePath + ".jpg" at `level` (1 to 100); the BMP file goes once a non-empty JPEG exists.
  void CaptureScreen(PictureBox& canvas, const std::string& basePath, int level);

  // LaunchEmulator.cpp: brings the emulator to the front with one Enter, or starts it from the
  // program's directory.
  void LaunchEmulator();

 private:
  Services& services_;
};

}  // namespace trelvin
