// Starting and stopping timed capture, and the capture timer's tick.
#include <cstdint>
#include <cstdio>
#include <functional>
#include <initializer_list>
#include <string>

#include "core/base/Guard.h"
#include "core/base/Int16Counter.h"
#include "core/capture/CaptureName.h"
#include "core/shell/FormMainSlide.h"

namespace trelvin {

namespace {

// "yyyymmddhhmmss" on the 24-hour clock, each field zero-padded, so names sort by time as text.
std::string TimeStamp(const LocalDateTime& t) {
  char text[32];
  std::snprintf(text, sizeof text, "%04d%02d%02d%02d%02d%02d", t.year, t.month, t.day, t.hour,
                t.minute, t.second);
  return text;
}

}  // namespace

void FormMainSlide::btnStart_Click() {
  bool wasCapturing = false;
  Step([&] { wasCapturing = Timer1.Enabled(); });
  if (wasCapturing) {
    Step([&] { Timer1.SetEnabled(false); });
    // The desktop's sharing indicator shows exactly while capturing.
    Step([&] { services_.screen_grab.EndSession(); });
    if (keeper_) keeper_->EndRun();
    Step([&] { btnStart.SetCaption("&Start"); });
    Step([&] { capture_.EndRun(); });
  } else {
    Step([&] { SetWindowState(WindowState::kMinimized); });
    // Asked for before the timer runs, so the desktop can answer before the first tick is due.
    Step([&] { services_.screen_grab.BeginSession(); });
    Step([&] { capture_.BeginRun(); });
    Step([&] { Timer1.SetEnabled(true); });
    Step([&] { btnStart.SetCaption("&Stop"); });
    // The first tick after a start is due at once.
    Step([&] { CaptureTicks = hscrCapture.Value(); });
    if (keeper_) keeper_->BeginRun(AppPath, hscrCapture.Value());
    Step([&] { LaunchEmulator(); });
  }
  SetCaptureControlsEnabled(wasCapturing);
  if (wasCapturing) Step([&] { chkMusic_Click(); });
}

// The settings controls stay locked while capturing, so the slide show and a capture never meet.
void FormMainSlide::SetCaptureControlsEnabled(bool enabled) {
  for (Control* control :
       std::initializer_list<Control*>{&btnDir, &btnShow, &hscrCapture, &hScrCompression, &hscrShow,
                                       &chkStretch, &chkMusic, &chkRandom, &chkMP3}) {
    Step([&] { control->SetEnabled(enabled); });
  }
}

void FormMainSlide::Timer1_Timer() {
  // A 16-bit counter that would overflow leaves the count as it is, like any failing step.
  Step([&] { IncrementInt16(CaptureTicks); });
  const bool due = CaptureTicks >= hscrCapture.Value();
  // A paused run keeps a due capture due (the counter held at the interval, never growing past
  // it), so the capture is made at the first tick after the pause.
  if (keeper_ && !keeper_->Tick(due, hscrCapture.Value() - CaptureTicks)) {
    if (due) Step([&] { CaptureTicks = hscrCapture.Value(); });
    return;
  }
  if (!due) return;
  CaptureTicks = 0;
  Step([&] { capture_.EnsureUserFolder(AppPath); });
  // An unchanged screen takes no file name and writes nothing.
  std::function<bool(const PixelView&)> unchanged;
  if (keeper_) unchanged = [this](const PixelView& grab) { return keeper_->SkipGrab(grab); };
  if (capture_.GrabScreen(Picture1, AppPath, unchanged) != DesktopCapture::Grab::kCopied) return;
  std::string base_path;
  Step([&] {
    base_path = FreeCaptureBase(services_.files, AppPath + TimeStamp(services_.clock.Now()));
  });
  int level = 0;
  Step([&] { level = hScrCompression.Value(); });
  if (capture_.WriteCapture(Picture1, base_path, level) && keeper_) {
    keeper_->Written(Picture1.Image(), capture_.LastJpegBytes());
  }
}

void FormMainSlide::CaptureScreen(PictureBox& canvas, const std::string& basePath) {
  int level = 0;
  Step([&] { level = hScrCompression.Value(); });
  capture_.CaptureScreen(canvas, basePath, level);
}

void FormMainSlide::LaunchEmulator() { capture_.LaunchEmulator(); }

}  // namespace trelvin
