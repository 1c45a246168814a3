#include "os/windows/window/WinImageView.h"

#include "os/windows/desktop/WicPicture.h"
#include "os/windows/window/WinFormWindow.h"
#include "os/windows/window/WinShowPainter.h"

namespace trelvin {

namespace {

class ImageView : public WinCustomView {
 public:
  ImageView(ImageControl& model, WinFormWindow& window)
      : WinCustomView(model, window), image_(model) {
    CreateCustom(true);
    Bind();
  }

  // Drawn on the form, beneath any windowed control.
  bool Lightweight() const override { return true; }

 protected:
  void Paint(HDC dc, const RECT& dirty) override {
    (void)dirty;
    RECT client;
    GetClientRect(hwnd_, &client);
    // A picture the loader did not make (none, or another kind) leaves the form's background.
    const auto* picture = dynamic_cast<const WicPicture*>(image_.CurrentPicture().get());
    const Rect place{0, 0, client.right, client.bottom};
    PaintShow(dc, client, picture, place, window_.form().BackColor());
  }

  void OnMouseUp(int button, int x, int y) override {
    (void)button;
    RECT client;
    GetClientRect(hwnd_, &client);
    // A click is a press and a release over the control.
    const POINT at{x, y};
    if (PtInRect(&client, at)) window_.events().Control(image_.on_click);
  }

 private:
  ImageControl& image_;
};

}  // namespace

std::unique_ptr<WinControlView> MakeImageView(ImageControl& image, WinFormWindow& window) {
  return std::make_unique<ImageView>(image, window);
}

}  // namespace trelvin
