#include "os/windows/capture/GdiScreenGrab.h"

#include "os/windows/WinApi.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <optional>
#include <utility>

namespace trelvin {

// The DIB section the copies land in, kept while the screen keeps its size.
struct GdiScreenGrab::State {
  HDC memory_dc = nullptr;
  HBITMAP section = nullptr;
  HGDIOBJ previous = nullptr;
  void* bits = nullptr;
  int width = 0;
  int height = 0;
  int obtained = 0;
  int released = 0;
  std::string problem;  // why the last grab failed, for the user

  ~State() { Drop(); }

  void Drop() {
    if (memory_dc && previous) SelectObject(memory_dc, previous);
    if (section) DeleteObject(section);
    if (memory_dc) DeleteDC(memory_dc);
    memory_dc = nullptr;
    section = nullptr;
    previous = nullptr;
    bits = nullptr;
    width = height = 0;
  }

  bool Ensure(HDC screen, int w, int h) {
    if (section && w == width && h == height) return true;
    Drop();
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = -h;  // top-down, as the canvas's rows are
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    memory_dc = CreateCompatibleDC(screen);
    if (!memory_dc) return false;
    section = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!section || !bits) {
      Drop();
      return false;
    }
    previous = SelectObject(memory_dc, section);
    width = w;
    height = h;
    return true;
  }
};

namespace {

constexpr char kNoPixels[] =
    "Windows did not hand out the screen's pixels (is the workstation locked, or a secure "
    "desktop in front?).";

}  // namespace

class GdiScreenGrab::Session : public GrabSession {
 public:
  Session(State& state, HWND desktop, HDC screen) : state_(state), desktop_(desktop), dc_(screen) {}
  ~Session() override { Release(); }

  bool CopyTo(Bitmap& target, int width, int height) override {
    const bool copied = Copy(target, width, height);
    state_.problem = copied ? "" : kNoPixels;
    return copied;
  }

  // The screen in the section, looked at there: BGRX words are the canvas's pixels but for the
  // unused byte. The copy that follows converts it without another BitBlt.
  std::optional<PixelView> Peek(int width, int height) override {
    fetched_ = Fetch(width, height);
    if (!fetched_) return std::nullopt;
    return PixelView{static_cast<const std::uint32_t*>(state_.bits),
                     static_cast<std::size_t>(width), width, height};
  }

  bool Fetch(int width, int height) {
    if (!dc_ || width <= 0 || height <= 0) return false;
    if (!state_.Ensure(dc_, width, height)) return false;
    if (!BitBlt(state_.memory_dc, 0, 0, width, height, dc_, 0, 0, SRCCOPY | CAPTUREBLT)) {
      return false;
    }
    GdiFlush();
    return true;
  }

  bool Copy(Bitmap& target, int width, int height) {
    const bool have =
        std::exchange(fetched_, false) && state_.width == width && state_.height == height && dc_;
    if (!have && !Fetch(width, height)) return false;
    // BGRX in memory is 0xXXRRGGBB as a little-endian word: the canvas's own pixel layout once
    // the unused byte is cleared.
    const int w = std::min(width, target.width);
    const int h = std::min(height, target.height);
    const auto* source = static_cast<const std::uint32_t*>(state_.bits);
    for (int y = 0; y < h; ++y) {
      const std::uint32_t* in = source + static_cast<std::size_t>(y) * width;
      std::uint32_t* out = target.Row(y);
      for (int x = 0; x < w; ++x) out[x] = in[x] & 0x00FFFFFFu;
    }
    return true;
  }

  // The copy first, then the background only where it put nothing: each pixel written once.
  bool CopyToCleared(Bitmap& target, int width, int height, Rgb background) override {
    const bool copied = CopyTo(target, width, height);
    const int w = copied ? std::clamp(width, 0, target.width) : 0;
    const int h = copied ? std::clamp(height, 0, target.height) : 0;
    for (int y = 0; y < target.height; ++y) {
      std::uint32_t* row = target.Row(y);
      std::fill(y < h ? row + w : row, row + target.width, background);
    }
    return copied;
  }

  void Release() override {
    if (!dc_) return;
    ReleaseDC(desktop_, dc_);
    dc_ = nullptr;
    ++state_.released;
  }

 private:
  State& state_;
  HWND desktop_;
  HDC dc_;
  bool fetched_ = false;  // the section holds this session's screen, from a Peek
};

GdiScreenGrab::GdiScreenGrab() : state_(std::make_unique<State>()) {}
GdiScreenGrab::~GdiScreenGrab() = default;

std::unique_ptr<GrabSession> GdiScreenGrab::OpenDesktop() {
  HWND desktop = GetDesktopWindow();
  HDC screen = GetDC(desktop);
  if (!screen) {
    state_->problem = kNoPixels;
    return nullptr;
  }
  ++state_->obtained;
  return std::make_unique<Session>(*state_, desktop, screen);
}

int GdiScreenGrab::DesktopContextsObtained() const { return state_->obtained; }
int GdiScreenGrab::DesktopContextsReleased() const { return state_->released; }

std::string GdiScreenGrab::Problem() { return state_->problem; }

}  // namespace trelvin
