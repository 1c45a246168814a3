#pragma once

// FIXME: services whose real implementations are still being built; each fails every call.
#include "platform/Services.h"

namespace trelvin {

class PendingScreenGrab : public ScreenGrab {
 public:
  std::unique_ptr<GrabSession> OpenDesktop() override { return nullptr; }
};
class PendingJpegConverter : public JpegConverter {
 public:
  int BmpToJpeg(const std::string&, const std::string&, std::int16_t) override { return 1; }
};
class PendingPictures : public Pictures {
 public:
  std::shared_ptr<const Picture> LoadPicture(const std::string&, Size) override { return nullptr; }
  bool SavePicture(const Picture&, const std::string&) override { return false; }
};
class PendingPrinter : public Printer {
 public:
  std::optional<Size> PageSize() override { return std::nullopt; }
  bool PaintPicture(const Picture&, int, int) override { return false; }
  bool EndDoc() override { return false; }
};
class PendingMessageBox : public MessageBox {
 public:
  int MsgBox(const std::string&, int, const std::string&) override { return kIdNo; }
};
class PendingWallpaper : public Wallpaper {
 public:
  bool SetDeskWallpaper(const std::string&) override { return false; }
};
class PendingCursor : public Cursor {
 public:
  int ShowCursor(bool show) override { return counter_ += show ? 1 : -1; }

 private:
  int counter_ = 0;
};
class PendingWindowActivation : public WindowActivation {
 public:
  bool ActivateWindow(const std::string&) override { return false; }
  bool SendEnter() override { return false; }
};

}  // namespace trelvin
