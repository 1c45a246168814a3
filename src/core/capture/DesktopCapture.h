#pragma once

#include <string>

#include "core/capture/CaptureReport.h"
#include "core/controls/PictureBox.h"
#include "core/services/Services.h"

namespace trelvin {

// The capture's work outside the settings window: the desktop grabbed into a JPEG file, and the
// game emulator brought up. Every step is guarded; a failed step has no effect. Captures that
// cannot be made or kept are told to the user through the desktop's notices (CaptureReport).
class DesktopCapture {
 public:
  explicit DesktopCapture(Services& services)
      : services_(services), report_(services.notifications, services.clock) {}

  // DesktopCapture.cpp: a capture run starts: its notices start afresh, and a grab that already
  // knows it cannot work (a desktop without a screen-cast portal, say) is told now.
  void BeginRun();
  // Makes `directory` when it is the program's folder in the user's Pictures, the default
  // capture folder of an installation the user cannot write to. A folder the user chose is never
  // made: its absence is a failure to tell.
  void EnsureUserFolder(const std::string& directory);
  // The whole screen into `canvas`, saved as basePath + ".bmp", converted into basePath + ".jpg"
  // at `level` (1 to 100); the BMP file goes once a non-empty JPEG exists. A failed grab writes
  // no file at all.
  void CaptureScreen(PictureBox& canvas, const std::string& basePath, int level);

  // LaunchEmulator.cpp: brings the emulator to the front with one Enter, or starts it from the
  // program's directory.
  void LaunchEmulator();

 private:
  void GrabFailed(const std::string& folder);

  Services& services_;
  CaptureReport report_;
};

}  // namespace trelvin
