// One capture: the whole screen into the canvas, the canvas into a BMP file, the BMP file into the
// JPEG file.
#include "core/capture/DesktopCapture.h"

#include <memory>
#include <string>

#include "core/base/BmpFile.h"
#include "core/base/Guard.h"

namespace trelvin {

void DesktopCapture::CaptureScreen(PictureBox& canvas, const std::string& basePath, int level) {
  // Cleared first, so a failed grab saves a blank picture, never the previous capture.
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
  Step([&] {
    session = services_.screen_grab.OpenDesktop();
    Require(session != nullptr);
  });
  // The copy's result is not examined: a failed copy leaves the blank canvas to be saved. The
  // clear is done by the copy itself, in the same pass, wherever it copies nothing.
  Step([&] {
    Require(session != nullptr);
    if (canvas.TakePendingClear()) {
      session->CopyToCleared(canvas.Image(), width, height, canvas.BackColor());
    } else {
      session->CopyTo(canvas.Image(), width, height);
    }
  });
  Step([&] {
    Require(session != nullptr);
    session->Release();
  });
  const std::string bmp_path = basePath + ".bmp";
  const std::string jpeg_path = basePath + ".jpg";
  Step([&] {
    Bmp24Encoder bmp(canvas.Image());
    Require(services_.files.WriteFileChunks(bmp_path, [&] { return bmp.Next(); }));
  });
  Step([&] { services_.jpeg.BmpToJpeg(bmp_path, jpeg_path, level); });
  Step([&] {
    if (FileExists(services_.files, jpeg_path)) Require(services_.files.DeleteFile(bmp_path));
  });
}

}  // namespace trelvin
