#pragma once

// The slide-show benchmark's stand-ins for the services a show does not touch, its probes, and
// the decoder's floor.
#include <chrono>
#include <csetjmp>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include <jpeglib.h>

#include <QEvent>
#include <QObject>

#include "core/services/JpegConverter.h"
#include "core/services/MediaControl.h"
#include "core/services/Pictures.h"
#include "core/services/ScreenGrab.h"
#include "core/services/WindowActivation.h"

namespace trelvin::bench {

inline double Ms(std::chrono::steady_clock::duration d) {
  return std::chrono::duration<double, std::milli>(d).count();
}

struct JpegError {
  jpeg_error_mgr manager;
  std::jmp_buf jump;
};

// The floor: libjpeg-turbo decoding the file at `eighths`/8 into 32-bit pixels, nothing else.
inline double DecodeFloorMs(const std::string& path, unsigned eighths) {
  std::ifstream in(path, std::ios::binary);
  std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)), {});
  const auto start = std::chrono::steady_clock::now();
  jpeg_decompress_struct info{};
  JpegError error{};
  info.err = jpeg_std_error(&error.manager);
  error.manager.error_exit = [](j_common_ptr c) {
    std::longjmp(reinterpret_cast<JpegError*>(c->err)->jump, 1);
  };
  if (setjmp(error.jump)) {
    jpeg_destroy_decompress(&info);
    return -1;
  }
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, bytes.data(), bytes.size());
  jpeg_read_header(&info, TRUE);
  info.scale_num = eighths;
  info.scale_denom = 8;
  info.out_color_space = JCS_EXT_BGRX;
  jpeg_start_decompress(&info);
  std::vector<unsigned char> pixels(static_cast<std::size_t>(info.output_width) *
                                    info.output_height * 4);
  while (info.output_scanline < info.output_height) {
    JSAMPROW row =
        pixels.data() + static_cast<std::size_t>(info.output_scanline) * info.output_width * 4;
    jpeg_read_scanlines(&info, &row, 1);
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  return Ms(std::chrono::steady_clock::now() - start);
}

// Services the slide show does not touch here.
struct NoScreenGrab : ScreenGrab {
  void BeginSession() override {}
  void EndSession() override {}
  std::unique_ptr<GrabSession> OpenDesktop() override { return nullptr; }
  std::string Problem() override { return ""; }
};
struct NoJpeg : JpegConverter {
  int BmpToJpeg(const std::string&, const std::string&, std::int16_t) override { return 1; }
};
struct NoMedia : MediaControl {
  std::uint32_t mciSendString(const std::string&, WindowHandle) override { return 263; }
  std::uint32_t mciSendString(const std::string&, std::string*, WindowHandle) override {
    return 263;
  }
};
struct NoWindows : WindowActivation {
  bool ActivateWindow(const std::string&) override { return false; }
  bool SendEnter() override { return false; }
};

// The pictures service with the time of its last load: where a prepared slide's time goes.
struct TimedPictures : Pictures {
  explicit TimedPictures(Pictures& inner) : inner(inner) {}
  std::shared_ptr<const Picture> LoadPicture(const std::string& path, Size display) override {
    const auto start = std::chrono::steady_clock::now();
    auto picture = inner.LoadPicture(path, display);
    load_ms = Ms(std::chrono::steady_clock::now() - start);
    return picture;
  }
  void PreparePicture(const std::string& path, Size display) override {
    inner.PreparePicture(path, display);
  }
  void DropPreparedPicture() override { inner.DropPreparedPicture(); }
  bool SavePicture(const Picture& picture, const std::string& path) override {
    return inner.SavePicture(picture, path);
  }
  Pictures& inner;
  double load_ms = 0;
};

// Counts the picture control's paint events and notes when the last one came: the time before it
// is the wait for the paint, the time after it the painting and the flush to the X server.
struct PaintCounter : QObject {
  int paints = 0;
  std::chrono::steady_clock::time_point last_paint;
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) {
      ++paints;
      last_paint = std::chrono::steady_clock::now();
    }
    return false;
  }
};

}  // namespace trelvin::bench
