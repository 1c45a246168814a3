#include "os/windows/window/WinShowPainter.h"

namespace trelvin {

void PaintShow(HDC dc, const RECT& client, const WicPicture* picture, const Rect& place,
               Rgb background) {
  const Bitmap* pixels = picture ? &picture->pixels() : nullptr;
  const bool drawn =
      pixels && pixels->width > 0 && pixels->height > 0 && place.width > 0 && place.height > 0;
  const int saved = SaveDC(dc);
  if (drawn) {
    ExcludeClipRect(dc, place.left, place.top, place.left + place.width, place.top + place.height);
  }
  HBRUSH brush =
      CreateSolidBrush(RGB((background >> 16) & 0xFF, (background >> 8) & 0xFF, background & 0xFF));
  FillRect(dc, &client, brush);
  DeleteObject(brush);
  RestoreDC(dc, saved);
  if (!drawn) return;

  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = pixels->width;
  info.bmiHeader.biHeight = -pixels->height;  // rows top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  // Shrinking averages the pixels it drops; one-to-one and enlarging copy them.
  const bool shrinks = place.width < pixels->width || place.height < pixels->height;
  SetStretchBltMode(dc, shrinks ? HALFTONE : COLORONCOLOR);
  SetBrushOrgEx(dc, 0, 0, nullptr);
  StretchDIBits(dc, place.left, place.top, place.width, place.height, 0, 0, pixels->width,
                pixels->height, pixels->pixels.data(), &info, DIB_RGB_COLORS, SRCCOPY);
}

}  // namespace trelvin
