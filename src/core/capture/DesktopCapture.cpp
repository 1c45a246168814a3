// One capture: the whole screen into the canvas, the canvas into a BMP file, the BMP file into the
// JPEG file; and the notices when that fails.
#include "core/capture/DesktopCapture.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>

#include "core/base/BmpFile.h"
#include "core/base/Guard.h"
#include "core/services/UserFolders.h"

namespace trelvin {

namespace {

// The folder part of a base path (up to its last separator), as the notices name it.
std::string FolderOf(const std::string& basePath) {
  const std::size_t end = basePath.find_last_of(kPathSeparator);
  return end == std::string::npos ? basePath : basePath.substr(0, end + 1);
}

}  // namespace

void DesktopCapture::BeginRun() {
  std::string log_path;
  Step([&] { log_path = services_.known_paths.FailureLogPath(); });
  report_.BeginRun(log_path);
  run_video_.BeginRun();
  Step([&] {
    const std::string problem = services_.screen_grab.Problem();
    if (problem.empty()) return;
    report_.Failed(CaptureFailure::kGrab, "", problem);
    throw std::runtime_error("no screen grab: " + problem);
  });
}

void DesktopCapture::EnsureUserFolder(const std::string& directory) {
  if (directory != TrelvinFolderIn(services_.known_paths.PicturesDirectory())) return;
  Require(services_.files.CreateDirectories(directory), "the Pictures folder could not be made");
}

void DesktopCapture::CaptureScreen(PictureBox& canvas, const std::string& basePath, int level) {
  if (GrabScreen(canvas, FolderOf(basePath)) == Grab::kCopied) {
    WriteCapture(canvas, basePath, level);
  }
}

DesktopCapture::Grab DesktopCapture::GrabScreen(
    PictureBox& canvas, const std::string& folder,
    const std::function<bool(const PixelView&)>& unchanged) {
  // Cleared first, so the canvas never keeps the previous capture's pixels.
  Step([&] { canvas.Cls(); });
  Step([&] { canvas.SetAutoRedraw(true); });
  int width = 0;
  int height = 0;
  Step([&] {
    const Size screen = services_.runtime.ScreenSize();
    width = screen.width;
    height = screen.height;
    canvas.Move({0, 0, width, height});
  });
  std::unique_ptr<GrabSession> session;
  bool grabbed = Step([&] {
    session = services_.screen_grab.OpenDesktop();
    Require(session != nullptr, "no screen grab could be opened");
  });
  // An unchanged screen seen where the grab holds it is not copied at all (the canvas keeps its
  // pending clear).
  bool looked = false;
  bool same = false;
  if (grabbed && unchanged) {
    Step([&] {
      if (const std::optional<PixelView> view = session->Peek(width, height)) {
        looked = true;
        same = unchanged(*view);
      }
    });
  }
  // The clear is done by the copy itself, in the same pass, wherever it copies nothing.
  grabbed = grabbed && !same && Step([&] {
              const bool copied =
                  canvas.TakePendingClear()
                      ? session->CopyToCleared(canvas.Image(), width, height, canvas.BackColor())
                      : session->CopyTo(canvas.Image(), width, height);
              Require(copied, "the screen could not be copied");
            });
  Step([&] {
    Require(session != nullptr);
    session->Release();
  });
  // A blank file named as a capture would be a failure reported as success: a failed grab
  // writes nothing. The tick has counted all the same, so the next capture is due as before.
  if (same) return Grab::kUnchanged;
  if (!grabbed) {
    GrabFailed(folder);
    return Grab::kFailed;
  }
  if (unchanged && !looked) {
    bool unchanged_canvas = false;
    Step([&] {
      const Bitmap& image = canvas.Image();
      unchanged_canvas = unchanged(PixelView{
          image.pixels.data(), static_cast<std::size_t>(image.width), image.width, image.height});
    });
    if (unchanged_canvas) return Grab::kUnchanged;
  }
  return Grab::kCopied;
}

bool DesktopCapture::WriteCapture(PictureBox& canvas, const std::string& basePath, int level) {
  const std::string folder = FolderOf(basePath);
  const std::string bmp_path = basePath + ".bmp";
  const std::string jpeg_path = basePath + ".jpg";
  const bool written = Step([&] {
    Bmp24Encoder bmp(canvas.Image());
    if (!services_.files.WriteFileChunks(bmp_path, [&] { return bmp.Next(); })) {
      throw std::runtime_error("the capture could not be written: " + bmp_path);
    }
  });
  // Without its bitmap the converter has nothing to read.
  if (!written) {
    report_.Failed(CaptureFailure::kFolder, folder, "");
    return false;
  }
  Step([&] { services_.jpeg.BmpToJpeg(bmp_path, jpeg_path, level); });
  const bool converted = Step([&] {
    const std::optional<std::int64_t> length = services_.files.FileLength(jpeg_path);
    if (!length || *length <= 0) {
      throw std::runtime_error("the converter made no JPEG file: " + jpeg_path);
    }
    last_jpeg_bytes_ = *length;
  });
  if (!converted) {
    report_.Failed(CaptureFailure::kConverter, folder, "");
    return false;
  }
  Step([&] { Require(services_.files.DeleteFile(bmp_path), "the bitmap could not be deleted"); });
  report_.Succeeded(folder);
  run_video_.Kept(basePath);
  return true;
}

void DesktopCapture::GrabFailed(const std::string& folder) {
  std::string problem;
  Step([&] { problem = services_.screen_grab.Problem(); });
  // A grab without a reason is still waiting for the desktop's answer (the user may be looking
  // at its sharing dialog): not a failure to tell yet.
  if (!problem.empty()) report_.Failed(CaptureFailure::kGrab, folder, problem);
}

}  // namespace trelvin
