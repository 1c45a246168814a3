#pragma once

#include <cstdint>

namespace trelvin {

// Positions and sizes in device pixels (96 dpi design units; Qt scales them on other DPIs).
struct Rect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  friend bool operator==(const Rect&, const Rect&) = default;
};

struct Size {
  int width = 0;
  int height = 0;
  friend bool operator==(const Size&, const Size&) = default;
};

// Sizes in 1/1440 inch: 15 units per device pixel, whatever the screen's DPI.
constexpr int kTwipsPerPixel = 15;

// An opaque window handle, used only as the callback window of media commands.
using WindowHandle = std::uintptr_t;

// Colours as 0x00RRGGBB.
using Rgb = std::uint32_t;
constexpr Rgb MakeRgb(int r, int g, int b) {
  return (static_cast<Rgb>(r) << 16) | (static_cast<Rgb>(g) << 8) | static_cast<Rgb>(b);
}

}  // namespace trelvin
