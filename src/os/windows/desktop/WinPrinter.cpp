#include "os/windows/desktop/WinPrinter.h"

#include <windows.h>

#include <commdlg.h>

#include "os/windows/desktop/WicPictures.h"

namespace trelvin {

namespace {

constexpr int kTwipsPerInch = 1440;

}  // namespace

WinPrinter::~WinPrinter() {
  // A document left open is abandoned, not printed half-drawn.
  if (dc_ && in_document_) AbortDoc(dc_);
  Release();
}

void WinPrinter::Release() {
  if (dc_) DeleteDC(dc_);
  dc_ = nullptr;
  in_document_ = false;
}

HDC WinPrinter::Device() {
  if (dc_) return dc_;
  PRINTDLGW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.Flags = PD_RETURNDEFAULT | PD_RETURNDC;
  const bool found = PrintDlgW(&dialog) != FALSE;
  if (dialog.hDevMode) GlobalFree(dialog.hDevMode);
  if (dialog.hDevNames) GlobalFree(dialog.hDevNames);
  if (!found) return nullptr;
  dc_ = dialog.hDC;
  return dc_;
}

std::optional<Size> WinPrinter::PageSize() {
  HDC dc = Device();
  if (!dc) return std::nullopt;
  const int dpi_x = GetDeviceCaps(dc, LOGPIXELSX);
  const int dpi_y = GetDeviceCaps(dc, LOGPIXELSY);
  if (dpi_x <= 0 || dpi_y <= 0) return std::nullopt;
  return Size{MulDiv(GetDeviceCaps(dc, PHYSICALWIDTH), kTwipsPerInch, dpi_x),
              MulDiv(GetDeviceCaps(dc, PHYSICALHEIGHT), kTwipsPerInch, dpi_y)};
}

bool WinPrinter::PaintPicture(const Picture& picture, int x, int y) {
  const auto* wic_picture = dynamic_cast<const WicPicture*>(&picture);
  if (!wic_picture) return false;
  HDC dc = Device();
  if (!dc) return false;
  const int dpi_x = GetDeviceCaps(dc, LOGPIXELSX);
  const int dpi_y = GetDeviceCaps(dc, LOGPIXELSY);
  if (dpi_x <= 0 || dpi_y <= 0) return false;
  if (!in_document_) {
    DOCINFOW info{};
    info.cbSize = sizeof info;
    info.lpszDocName = L"TrelvinShow";
    if (StartDocW(dc, &info) <= 0) return false;
    in_document_ = true;
    if (StartPage(dc) <= 0) return false;
  }
  const Bitmap pixels = WicPictures::FullPixels(*wic_picture);
  if (pixels.width <= 0 || pixels.height <= 0) return false;
  // The picture's own size (15 units of 1/1440 inch per pixel) in the printer's units; GDI's
  // origin is the printable area's corner, ours the sheet's.
  const Size natural = wic_picture->PixelSize();
  const int left = MulDiv(x, dpi_x, kTwipsPerInch) - GetDeviceCaps(dc, PHYSICALOFFSETX);
  const int top = MulDiv(y, dpi_y, kTwipsPerInch) - GetDeviceCaps(dc, PHYSICALOFFSETY);
  const int width = MulDiv(natural.width * kTwipsPerPixel, dpi_x, kTwipsPerInch);
  const int height = MulDiv(natural.height * kTwipsPerPixel, dpi_y, kTwipsPerInch);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = pixels.width;
  info.bmiHeader.biHeight = -pixels.height;  // rows top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  SetStretchBltMode(dc, HALFTONE);
  SetBrushOrgEx(dc, 0, 0, nullptr);
  return StretchDIBits(dc, left, top, width, height, 0, 0, pixels.width, pixels.height,
                       pixels.pixels.data(), &info, DIB_RGB_COLORS, SRCCOPY) != 0;
}

bool WinPrinter::EndDoc() {
  bool sent = false;
  if (dc_ && in_document_) {
    const bool page_ended = ::EndPage(dc_) > 0;
    sent = ::EndDoc(dc_) > 0 && page_ended;
    in_document_ = false;
  }
  // The next document goes to whatever is the default printer then.
  Release();
  return sent;
}

}  // namespace trelvin
