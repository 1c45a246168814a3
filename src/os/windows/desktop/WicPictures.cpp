#include "os/windows/desktop/WicPictures.h"

// First: the other system headers build on it.
#include <windows.h>

#include <wincodec.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <new>
#include <optional>
#include <span>

#include "atomicfile/TempFile.h"
#include "core/base/BmpFile.h"
#include "os/common/BitmapTransforms.h"
#include "os/common/PictureHeader.h"
#include "os/common/ReducedScale.h"
#include "os/windows/WinText.h"

namespace trelvin {

namespace {

// The decoder's own scaling: in the system's headers, missing from mingw-w64's.
struct IWICBitmapSourceTransform : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE CopyPixels(const WICRect* rect, UINT width, UINT height,
                                               WICPixelFormatGUID* format,
                                               WICBitmapTransformOptions transform, UINT stride,
                                               UINT buffer_size, BYTE* buffer) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetClosestSize(UINT* width, UINT* height) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetClosestPixelFormat(WICPixelFormatGUID* format) = 0;
  virtual HRESULT STDMETHODCALLTYPE DoesSupportTransform(WICBitmapTransformOptions transform,
                                                         BOOL* supported) = 0;
};
constexpr IID kIidBitmapSourceTransform = {
    0x3B16811B, 0x6A43, 0x4EC9, {0xB7, 0x13, 0x3D, 0x5A, 0x0C, 0x13, 0xB9, 0x40}};

// Holds one COM interface and releases it.
template <typename T>
class ComRef {
 public:
  ComRef() = default;
  ~ComRef() {
    if (p_) p_->Release();
  }
  ComRef(const ComRef&) = delete;
  ComRef& operator=(const ComRef&) = delete;
  T** Out() { return &p_; }
  T* operator->() const { return p_; }
  T* get() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }

 private:
  T* p_ = nullptr;
};

bool FitsTheCap(UINT width, UINT height) { return PictureDecoder::FitsTheCap(width, height); }

// The bytes of a 32-bit BGR pixel buffer of `width` x `height`; false when it cannot be had.
bool Allocate(Bitmap& bitmap, UINT width, UINT height) {
  try {
    bitmap.pixels.assign(static_cast<std::size_t>(width) * height, 0);
  } catch (const std::bad_alloc&) {
    return false;
  }
  bitmap.width = static_cast<int>(width);
  bitmap.height = static_cast<int>(height);
  return true;
}

// WIC's 32bppBGR leaves the fourth byte undefined; our pixels are 0x00RRGGBB.
void ClearUnusedByte(Bitmap& bitmap) {
  for (std::uint32_t& pixel : bitmap.pixels) pixel &= 0x00FFFFFFu;
}

// The frame decoded at its reduced `size` through the decoder's own scaling, when it offers that
// in a 32-bit pixel format; false otherwise (the caller decodes it whole).
bool DecodeReduced(IWICBitmapFrameDecode* frame, Size size, Bitmap& out) {
  ComRef<IWICBitmapSourceTransform> transform;
  if (FAILED(frame->QueryInterface(kIidBitmapSourceTransform,
                                   reinterpret_cast<void**>(transform.Out())))) {
    return false;
  }
  UINT width = static_cast<UINT>(size.width);
  UINT height = static_cast<UINT>(size.height);
  if (FAILED(transform->GetClosestSize(&width, &height))) return false;
  // Only a size that still covers the wanted one and is really smaller is worth it.
  if (width < static_cast<UINT>(size.width) || height < static_cast<UINT>(size.height)) {
    return false;
  }
  WICPixelFormatGUID format = GUID_WICPixelFormat32bppBGR;
  if (FAILED(transform->GetClosestPixelFormat(&format))) return false;
  if (format != GUID_WICPixelFormat32bppBGR && format != GUID_WICPixelFormat32bppBGRA) {
    return false;
  }
  BOOL supported = FALSE;
  if (FAILED(transform->DoesSupportTransform(WICBitmapTransformRotate0, &supported)) ||
      !supported) {
    return false;
  }
  if (!FitsTheCap(width, height) || !Allocate(out, width, height)) return false;
  const UINT stride = width * 4;
  return SUCCEEDED(transform->CopyPixels(nullptr, width, height, &format, WICBitmapTransformRotate0,
                                         stride, stride * height,
                                         reinterpret_cast<BYTE*>(out.pixels.data())));
}

// Decodes the file, reduced for a stretched `display` size (empty: at its own size), turned
// upright by a JPEG's EXIF orientation; false on any failure. `natural` is the upright size.
bool DecodePixels(const std::string& path, Size display, Bitmap& out, Size& natural) {
  int orientation = 1;
  {
    std::ifstream in(std::filesystem::path(std::u8string(path.begin(), path.end())),
                     std::ios::binary);
    if (!in) return false;
    const std::optional<Size> declared = PictureHeader::DeclaredSize(in);
    if (declared &&
        !FitsTheCap(static_cast<UINT>(declared->width), static_cast<UINT>(declared->height))) {
      return false;
    }
    in.clear();
    in.seekg(0);
    orientation = PictureHeader::JpegOrientation(in);
  }
  ComRef<IWICImagingFactory> factory;
  if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                              IID_IWICImagingFactory, reinterpret_cast<void**>(factory.Out())))) {
    return false;
  }
  ComRef<IWICBitmapDecoder> decoder;
  if (FAILED(factory->CreateDecoderFromFilename(Widen(path).c_str(), nullptr, GENERIC_READ,
                                                WICDecodeMetadataCacheOnDemand, decoder.Out()))) {
    return false;
  }
  GUID container{};
  if (FAILED(decoder->GetContainerFormat(&container))) return false;
  const bool jpeg = container == GUID_ContainerFormatJpeg;
  // WebP only where the system has its codec; elsewhere the decoder is not found above.
  if (!jpeg && container != GUID_ContainerFormatGif && container != GUID_ContainerFormatBmp &&
      container != GUID_ContainerFormatPng && container != GUID_ContainerFormatWebp) {
    return false;
  }
  if (!jpeg) orientation = 1;
  const bool turned = orientation >= 5;
  ComRef<IWICBitmapFrameDecode> frame;
  if (FAILED(decoder->GetFrame(0, frame.Out()))) return false;
  UINT width = 0;
  UINT height = 0;
  if (FAILED(frame->GetSize(&width, &height)) || !FitsTheCap(width, height)) return false;
  const Size stored{static_cast<int>(width), static_cast<int>(height)};
  natural = turned ? Size{stored.height, stored.width} : stored;

  bool decoded = false;
  if (jpeg && display.width > 0 && display.height > 0) {
    // The decoder reduces the picture as stored, so the screen is turned to match it.
    const Size cover = turned ? Size{display.height, display.width} : display;
    const Size reduced = ReducedJpegSize(stored, cover);
    decoded = reduced != stored && DecodeReduced(frame.get(), reduced, out);
  }
  if (!decoded) {
    ComRef<IWICBitmapSource> converted;
    if (FAILED(WICConvertBitmapSource(GUID_WICPixelFormat32bppBGR, frame.get(), converted.Out()))) {
      return false;
    }
    if (!Allocate(out, width, height)) return false;
    const UINT stride = width * 4;
    if (FAILED(converted->CopyPixels(nullptr, stride, stride * height,
                                     reinterpret_cast<BYTE*>(out.pixels.data())))) {
      return false;
    }
  }
  ClearUnusedByte(out);
  if (orientation != 1) {
    out = Oriented(out, orientation);
    if (out.pixels.empty()) return false;
  }
  return true;
}

// COM for the decodes of the look-ahead's worker, a thread of its own; on the interface thread
// it is already initialised and this only counts.
class ComForThisThread {
 public:
  ComForThisThread() : result_(CoInitializeEx(nullptr, COINIT_MULTITHREADED)) {}
  ~ComForThisThread() {
    if (SUCCEEDED(result_)) CoUninitialize();
  }
  ComForThisThread(const ComForThisThread&) = delete;
  ComForThisThread& operator=(const ComForThisThread&) = delete;

 private:
  HRESULT result_;
};

class WicPictureDecoder : public PictureDecoder {
 public:
  std::shared_ptr<const Picture> Decode(const std::string& path, Size display, Fit fit) override {
    Bitmap pixels;
    Size natural;
    {
      const ComForThisThread com;
      if (!DecodePixels(path, display, pixels, natural)) return nullptr;
    }
    // Brought to the display size once, so that painting it is a plain copy.
    if (fit == Fit::kExact && display.width > 0 && display.height > 0 &&
        (pixels.width != display.width || pixels.height != display.height)) {
      pixels = BoxScaled(pixels, display);
      if (pixels.pixels.empty()) return nullptr;
    }
    return std::make_shared<WicPicture>(std::move(pixels), natural, path);
  }

  std::optional<FileStamp> Stamp(const std::string& path) override {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(Widen(path).c_str(), GetFileExInfoStandard, &data)) {
      return std::nullopt;
    }
    return FileStamp{
        static_cast<long long>((static_cast<unsigned long long>(data.nFileSizeHigh) << 32) |
                               data.nFileSizeLow),
        static_cast<long long>(
            (static_cast<unsigned long long>(data.ftLastWriteTime.dwHighDateTime) << 32) |
            data.ftLastWriteTime.dwLowDateTime)};
  }
};

}  // namespace

WicPictures::WicPictures() : PictureLookAhead(std::make_unique<WicPictureDecoder>()) {}

Bitmap WicPictures::FullPixels(const WicPicture& picture) {
  if (!picture.Reduced()) return picture.pixels();
  WicPictureDecoder decoder;
  if (auto whole = DecodeWhole(decoder, picture.source(), picture.PixelSize())) {
    return static_cast<const WicPicture&>(*whole).pixels();
  }
  // The file changed or went away since: the held pixels, brought to the picture's size.
  return BoxScaled(picture.pixels(), picture.PixelSize());
}

bool WicPictures::SavePicture(const Picture& picture, const std::string& path) {
  const auto* wic_picture = dynamic_cast<const WicPicture*>(&picture);
  if (!wic_picture) return false;
  const Bitmap pixels = FullPixels(*wic_picture);
  if (pixels.width <= 0 || pixels.height <= 0) return false;
  // 24 bits per pixel, written beside the old file and renamed over it.
  try {
    Bmp24Encoder encoder(pixels);
    TempFile file(path);
    if (!file.ok()) return false;
    for (std::span<const std::uint8_t> piece = encoder.Next(); !piece.empty();
         piece = encoder.Next()) {
      if (!file.Write(piece.data(), piece.size())) return false;
    }
    return file.Commit();
  } catch (const std::exception&) {
    return false;
  }
}

}  // namespace trelvin
