#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "core/capture/CaptureReport.h"
#include "core/capture/RunVideo.h"
#include "core/controls/PictureBox.h"
#include "core/services/Services.h"

namespace trelvin {

// The capture's work outside the settings window: the desktop grabbed into a JPEG file, and the
// game emulator brought up. Every step is guarded; a failed step has no effect. Captures that
// cannot be made or kept are told to the user through the desktop's notices (CaptureReport).
class DesktopCapture {
 public:
  explicit DesktopCapture(Services& services)
      : services_(services),
        report_(services.notifications, services.clock),
        run_video_(services.notifications, services.video, services.shell) {}

  // DesktopCapture.cpp: a capture run starts: its notices start afresh, and a grab that already
  // knows it cannot work (a desktop without a screen-cast portal, say) is told now.
  void BeginRun();
  // The run stopped: a run of many pictures offers its video (RunVideo).
  void EndRun() { run_video_.EndRun(); }
  // The video of the last run.
  RunVideo& run_video() { return run_video_; }
  // Makes `directory` when it is the program's folder in the user's Pictures, the default
  // capture folder of an installation the user cannot write to. A folder the user chose is never
  // made: its absence is a failure to tell.
  void EnsureUserFolder(const std::string& directory);
  // The whole screen into `canvas`, saved as basePath + ".bmp", converted into basePath + ".jpg"
  // at `level` (1 to 100); the BMP file goes once a non-empty JPEG exists. A failed grab writes
  // no file at all.
  void CaptureScreen(PictureBox& canvas, const std::string& basePath, int level);
  // CaptureScreen in its two halves, so a grab can be looked at before anything is written:
  // the whole screen into `canvas` (kFailed, told, when it failed), then the canvas as the
  // capture (true when its JPEG file was kept). With `unchanged`, the grab is shown to it first,
  // where the desktop holds it when the grab can (GrabSession::Peek; the copy is then saved when
  // it says unchanged), else in the canvas; kUnchanged when it says so.
  enum class Grab { kFailed, kUnchanged, kCopied };
  Grab GrabScreen(PictureBox& canvas, const std::string& folder,
                  const std::function<bool(const PixelView&)>& unchanged = nullptr);
  bool WriteCapture(PictureBox& canvas, const std::string& basePath, int level);
  CaptureReport& Report() { return report_; }
  // The length of the last JPEG file kept, 0 before the first.
  std::int64_t LastJpegBytes() const { return last_jpeg_bytes_; }

  // LaunchEmulator.cpp: brings the emulator to the front with one Enter, or starts it from the
  // program's directory.
  void LaunchEmulator();

 private:
  void GrabFailed(const std::string& folder);

  Services& services_;
  CaptureReport report_;
  RunVideo run_video_;
  std::int64_t last_jpeg_bytes_ = 0;
};

}  // namespace trelvin
