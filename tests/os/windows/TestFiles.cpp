#include "os/windows/TestFiles.h"

#include <windows.h>

#include <wincodec.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace trelvin::test_support {

namespace {

std::filesystem::path FromUtf8(const std::string& text) {
  return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

}  // namespace

std::vector<std::uint8_t> ReadBytes(const std::string& path) {
  std::ifstream in(FromUtf8(path), std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream(FromUtf8(path), std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
}

std::vector<std::uint8_t> SolidJpeg(int width, int height, Rgb colour) {
  return Encoded(Format::kJpeg, width, height, colour, colour);
}

std::vector<std::uint8_t> Encoded(Format kind, int width, int height, Rgb left, Rgb right) {
  const GUID container = kind == Format::kPng   ? GUID_ContainerFormatPng
                         : kind == Format::kBmp ? GUID_ContainerFormatBmp
                                                : GUID_ContainerFormatJpeg;
  std::vector<std::uint8_t> result;
  IWICImagingFactory* factory = nullptr;
  IStream* stream = nullptr;
  IWICBitmapEncoder* encoder = nullptr;
  IWICBitmapFrameEncode* frame = nullptr;
  IPropertyBag2* options = nullptr;
  if (SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                 IID_IWICImagingFactory, reinterpret_cast<void**>(&factory))) &&
      SUCCEEDED(CreateStreamOnHGlobal(nullptr, TRUE, &stream)) &&
      SUCCEEDED(factory->CreateEncoder(container, nullptr, &encoder)) &&
      SUCCEEDED(encoder->Initialize(stream, WICBitmapEncoderNoCache)) &&
      SUCCEEDED(encoder->CreateNewFrame(&frame, &options)) &&
      SUCCEEDED(frame->Initialize(options)) && SUCCEEDED(frame->SetSize(width, height))) {
    WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
    frame->SetPixelFormat(&format);
    const UINT bpp = format == GUID_WICPixelFormat24bppBGR ? 3 : 4;
    const UINT stride = static_cast<UINT>(width) * bpp;
    std::vector<BYTE> pixels(static_cast<std::size_t>(stride) * height);
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        const Rgb colour = x < width / 2 ? left : right;
        BYTE* pixel = pixels.data() + static_cast<std::size_t>(y) * stride + x * bpp;
        pixel[0] = colour & 0xFF;
        pixel[1] = (colour >> 8) & 0xFF;
        pixel[2] = (colour >> 16) & 0xFF;
      }
    }
    if (SUCCEEDED(
            frame->WritePixels(height, stride, static_cast<UINT>(pixels.size()), pixels.data())) &&
        SUCCEEDED(frame->Commit()) && SUCCEEDED(encoder->Commit())) {
      HGLOBAL memory = nullptr;
      GetHGlobalFromStream(stream, &memory);
      STATSTG stat{};
      stream->Stat(&stat, STATFLAG_NONAME);
      const auto* bytes = static_cast<const std::uint8_t*>(GlobalLock(memory));
      result.assign(bytes, bytes + stat.cbSize.QuadPart);
      GlobalUnlock(memory);
    }
  }
  if (options) options->Release();
  if (frame) frame->Release();
  if (encoder) encoder->Release();
  if (stream) stream->Release();
  if (factory) factory->Release();
  return result;
}

std::vector<std::uint8_t> SilentMp3(double seconds) {
  // 1152 samples per frame; at 128 kbit/s and 44.1 kHz a frame is 417 bytes without padding.
  // All-zero side information decodes as silence.
  const int frames = static_cast<int>(seconds * 44100 / 1152 + 0.5);
  std::vector<std::uint8_t> file;
  for (int i = 0; i < frames; ++i) {
    const std::uint8_t header[] = {0xFF, 0xFB, 0x90, 0xC0};  // MPEG-1 III, mono
    file.insert(file.end(), std::begin(header), std::end(header));
    file.insert(file.end(), 417 - 4, 0);
  }
  return file;
}

std::string FreshFolder(const std::string& name) {
  std::error_code ignored;
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / "trelvin-slideshow-tests" / name;
  std::filesystem::remove_all(folder, ignored);
  std::filesystem::create_directories(folder, ignored);
  const std::u8string text = folder.u8string();
  return std::string(text.begin(), text.end()) + "\\";
}

}  // namespace trelvin::test_support
