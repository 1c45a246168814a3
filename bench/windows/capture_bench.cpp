// The capture benchmark's Windows build, run under Wine (bench/windows/run-capture-bench.sh): one
// capture of the whole screen (grab, BMP, convert, delete) with the program's own code and
// jpeglib.dll, its steps one by one, and its floor (the grab plus an in-memory JPEG compression of
// the same pixels), on whatever screen the display has.
//   capture_bench [--runs N] [--level L] [--keep 1]   (--keep 1: the last capture stays, for a
//   look)
#include <windows.h>
// The system's A/W macros would rename the platform interfaces' members of the same names.
#undef OpenDesktop
#undef CopyFile
#undef DeleteFile
#undef MessageBox
#undef ShellExecute

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "atomicfile/TempFile.h"
#include "bench/CompressInMemory.h"
#include "core/base/BmpFile.h"
#include "core/shell/FormMainSlide.h"
#include "fakes/FakePlatform.h"
#include "os/windows/WinText.h"
#include "os/windows/capture/GdiScreenGrab.h"
#include "os/windows/capture/WinJpegConverter.h"

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v[v.size() / 2];
}

// Real files for the steps the capture takes (write whole, length, delete); the rest unused.
class BenchFiles : public trelvin::fakes::FakeFileSystem {
 public:
  std::optional<std::int64_t> FileLength(const std::string& path) override {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(trelvin::Widen(path).c_str(), GetFileExInfoStandard, &data)) {
      return std::nullopt;
    }
    return static_cast<std::int64_t>(data.nFileSizeHigh) << 32 | data.nFileSizeLow;
  }
  bool DeleteFile(const std::string& path) override {
    return DeleteFileW(trelvin::Widen(path).c_str()) != 0;
  }
  bool WriteFileChunks(const std::string& path,
                       const std::function<std::span<const std::uint8_t>()>& next) override {
    trelvin::TempFile file(path);
    for (auto chunk = next(); !chunk.empty(); chunk = next()) {
      if (!file.Write(chunk.data(), chunk.size())) return false;
    }
    return file.Commit();
  }
};

// A picture like a game's over the whole screen (gradients, hard-edged shapes, some noise), the
// same scene the Linux benchmark draws, so the encoder has the same work.
std::vector<std::uint32_t> g_scene;
int g_width = 0;
int g_height = 0;

LRESULT CALLBACK PaintScene(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message != WM_PAINT) return DefWindowProcW(window, message, wparam, lparam);
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = g_width;
  info.bmiHeader.biHeight = -g_height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  StretchDIBits(dc, 0, 0, g_width, g_height, 0, 0, g_width, g_height, g_scene.data(), &info,
                DIB_RGB_COLORS, SRCCOPY);
  EndPaint(window, &paint);
  return 0;
}

HWND ShowScene(int width, int height) {
  g_width = width;
  g_height = height;
  g_scene.resize(static_cast<std::size_t>(width) * height);
  std::uint32_t seed = 1;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      seed = seed * 1664525u + 1013904223u;
      const int noise = static_cast<int>(seed >> 28) - 8;
      int r = x * 255 / width, g = y * 255 / height, b = (x + y) * 127 / (width + height) + 64;
      if ((x / 97 + y / 61) % 3 == 0) r = 255 - r, b = 40;
      if (((x - width / 2) * (x - width / 2) + (y - height / 2) * (y - height / 2)) % 9000 < 900)
        g = 230;
      auto clamp = [](int v) { return std::clamp(v, 0, 255); };
      g_scene[static_cast<std::size_t>(y) * width + x] = static_cast<std::uint32_t>(
          clamp(r + noise) << 16 | clamp(g + noise) << 8 | clamp(b + noise));
    }
  }
  WNDCLASSW window_class{};
  window_class.lpfnWndProc = PaintScene;
  window_class.hInstance = GetModuleHandleW(nullptr);
  window_class.lpszClassName = L"TrelvinBenchScene";
  RegisterClassW(&window_class);
  HWND window =
      CreateWindowExW(WS_EX_TOPMOST, L"TrelvinBenchScene", L"Scene", WS_POPUP | WS_VISIBLE, 0, 0,
                      width, height, nullptr, nullptr, window_class.hInstance, nullptr);
  UpdateWindow(window);
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
  return window;
}

using trelvin::bench::CompressInMemory;

}  // namespace

int main(int argc, char* argv[]) {
  int runs = 21;
  int level = 60;
  bool keep = false;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string flag = argv[i];
    if (flag == "--runs") runs = std::max(1, std::atoi(argv[i + 1]));
    if (flag == "--level") level = std::clamp(std::atoi(argv[i + 1]), 1, 100);
    if (flag == "--keep") keep = std::atoi(argv[i + 1]) != 0;
  }
  const int width = GetSystemMetrics(SM_CXSCREEN);
  const int height = GetSystemMetrics(SM_CYSCREEN);
  HWND scene = ShowScene(width, height);

  trelvin::fakes::FakePlatform fakes;
  fakes.runtime.screen = {width, height};
  BenchFiles files;
  trelvin::GdiScreenGrab screen_grab;
  trelvin::WinJpegConverter jpeg;
  trelvin::Services services{
      fakes.runtime,       fakes.settings, files,          fakes.clock,
      fakes.random,        fakes.shell,    fakes.instance, fakes.folder_dialog,
      fakes.known_paths,   fakes.locale,   screen_grab,    jpeg,
      fakes.media,         fakes.pictures, fakes.printer,  fakes.message_box,
      fakes.wallpaper,     fakes.cursor,   fakes.windows,  fakes.saver_lock,
      fakes.notifications, fakes.video};
  trelvin::FormMainSlide form{services, "/c"};
  form.hScrCompression.SetValue(level);
  wchar_t temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  const std::string base = trelvin::Narrow(temp) + "trelvin-bench-capture";

  trelvin::GdiScreenGrab floor_grab;
  trelvin::Bitmap floor_image;
  floor_image.Resize(width, height, 0);
  std::vector<double> capture_ms, grab_ms, encode_ms, floor_ms;
  std::size_t jpeg_bytes = 0, floor_bytes = 0;
  for (int i = 0; i < runs + 2; ++i) {
    auto t0 = Clock::now();
    form.CaptureScreen(form.Picture1, base);
    auto t1 = Clock::now();
    if (i == 0) jpeg_bytes = static_cast<std::size_t>(files.FileLength(base + ".jpg").value_or(0));
    if (files.FileLength(base + ".bmp")) std::fprintf(stderr, "BMP left behind\n");
    auto t2 = Clock::now();
    auto session = floor_grab.OpenDesktop();
    if (session) session->CopyTo(floor_image, width, height);
    if (session) session->Release();
    auto t3 = Clock::now();
    floor_bytes = CompressInMemory(floor_image, level);
    auto t4 = Clock::now();
    if (i < 2) continue;  // warm-up: the DIB section, the DLL, the file cache
    capture_ms.push_back(Ms(t1 - t0));
    grab_ms.push_back(Ms(t3 - t2));
    encode_ms.push_back(Ms(t4 - t3));
    floor_ms.push_back(Ms(t4 - t2));
  }
  const double capture = Median(capture_ms), floor = Median(floor_ms);
  std::printf(
      "Wine %dx%d level %d, %d runs: capture %.1f ms | floor %.1f ms (grab %.1f + encode %.1f)"
      " | capture/floor %.2f | JPEG %zu bytes (in memory %zu)\n",
      width, height, level, runs, capture, floor, Median(grab_ms), Median(encode_ms),
      capture / floor, jpeg_bytes, floor_bytes);

  // Where a capture's time goes: its steps one by one, with the same functions.
  const char* step_names[] = {"clear", "clear+grab", "BMP write", "convert", "delete"};
  std::vector<double> step_ms[5];
  for (int i = 0; i < runs; ++i) {
    trelvin::PictureBox& canvas = form.Picture1;
    Clock::time_point t[6];
    t[0] = Clock::now();
    canvas.Cls();
    t[1] = Clock::now();
    auto session = screen_grab.OpenDesktop();
    if (!session) break;
    if (canvas.TakePendingClear()) {
      session->CopyToCleared(canvas.Image(), width, height, canvas.BackColor());
    } else {
      session->CopyTo(canvas.Image(), width, height);
    }
    session->Release();
    t[2] = Clock::now();
    trelvin::Bmp24Encoder bmp(canvas.Image());
    files.WriteFileChunks(base + ".bmp", [&] { return bmp.Next(); });
    t[3] = Clock::now();
    jpeg.BmpToJpeg(base + ".bmp", base + ".jpg", static_cast<std::int16_t>(level));
    t[4] = Clock::now();
    files.DeleteFile(base + ".bmp");
    t[5] = Clock::now();
    for (int k = 0; k < 5; ++k) step_ms[k].push_back(Ms(t[k + 1] - t[k]));
  }
  std::printf("  steps (median ms):");
  for (int k = 0; k < 5; ++k) std::printf(" %s %.1f", step_names[k], Median(step_ms[k]));
  std::printf("\n");

  // Of the convert step, what the JPEG's flush costs (FlushFileBuffers and the rename written
  // through): the capture's JPEG bytes committed as a new file, without and with it.
  std::vector<std::uint8_t> jpeg_data;
  if (const auto length = files.FileLength(base + ".jpg")) {
    jpeg_data.resize(static_cast<std::size_t>(*length));
    HANDLE in = CreateFileW(trelvin::Widen(base + ".jpg").c_str(), GENERIC_READ, FILE_SHARE_READ,
                            nullptr, OPEN_EXISTING, 0, nullptr);
    DWORD got = 0;
    ReadFile(in, jpeg_data.data(), static_cast<DWORD>(jpeg_data.size()), &got, nullptr);
    CloseHandle(in);
  }
  std::vector<double> commit_ms[2];
  for (int i = 0; i < runs; ++i) {
    for (const bool durable : {false, true}) {
      files.DeleteFile(base + "-copy.jpg");
      const auto t0 = Clock::now();
      trelvin::TempFile file(base + "-copy.jpg");
      if (durable) file.RequireDurable();
      file.Write(jpeg_data.data(), jpeg_data.size());
      file.Commit();
      commit_ms[durable].push_back(Ms(Clock::now() - t0));
    }
  }
  files.DeleteFile(base + "-copy.jpg");
  std::printf(
      "  JPEG of %zu bytes written and renamed: %.2f ms; flushed, renamed through: %.2f ms\n",
      jpeg_data.size(), Median(commit_ms[0]), Median(commit_ms[1]));
  std::fflush(stdout);
  if (keep) {
    std::printf("  last capture kept: %s.jpg\n", base.c_str());
  } else {
    files.DeleteFile(base + ".jpg");
  }
  DestroyWindow(scene);
  return capture_ms.empty() ? 1 : 0;
}
