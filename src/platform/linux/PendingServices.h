#pragma once

// FIXME: services whose real implementations are still being built; each fails every call.
#include "platform/Services.h"

namespace trelvin {

class PendingMediaControl : public MediaControl {
 public:
  std::uint32_t mciSendString(const std::string&, WindowHandle) override { return 263; }
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

}  // namespace trelvin
