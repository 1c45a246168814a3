// The slide show's costs, in one run: showing a slide (decode, scale, paint) against decoding the
// same file with libjpeg-turbo at the same scale; showing a 4000 x 3000 JPEG, PNG and WebP
// stretched when it was prepared ahead, against the floor of drawing a screen-sized picture into
// the window and against loading it then; timed changes in order and in random order, each
// prepared by the change before (TRELVIN_BENCH_DETAIL=1: where each prepared slide's time goes);
// the catalogue of a full directory against find; and the
// peak memory of a show of 12-megapixel pictures.
//
// Run on an X server with a 1920 x 1080 screen, for example:
//   xvfb-run -a -s "-screen 0 1920x1080x24" build/slideshow_bench
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include <QApplication>
#include <QColor>
#include <QEvent>
#include <QImage>
#include <QPainter>
#include <QTimer>

#include "SlideShowBenchSupport.h"
#include "SlideShowFloorDetail.h"
#include "core/services/StandardRandom.h"
#include "core/shell/FormMainSlide.h"
#include "core/slideshow/Catalogue.h"
#include "core/slideshow/FormSlideShow.h"
#include "fakes/FakePlatform.h"
#include "os/common/ReducedScale.h"
#include "os/linux/app/LinuxKnownPaths.h"
#include "os/linux/app/QtInstanceLock.h"
#include "os/linux/app/QtLocale.h"
#include "os/linux/app/QtSettingsStore.h"
#include "os/linux/app/SystemClock.h"
#include "os/linux/desktop/DesktopWallpaper.h"
#include "os/linux/desktop/QtPicture.h"
#include "os/linux/desktop/QtPictures.h"
#include "os/linux/desktop/QtPrinter.h"
#include "os/linux/desktop/XdgShell.h"
#include "os/linux/files/PosixFileSystem.h"
#include "os/linux/saver/LinuxScreenSaverLock.h"
#include "os/linux/window/QtCursor.h"
#include "os/linux/window/QtFolderDialog.h"
#include "os/linux/window/QtMessageBox.h"
#include "os/linux/window/QtWindowRuntime.h"

namespace fs = std::filesystem;
using Steady = std::chrono::steady_clock;
using namespace trelvin;
using namespace trelvin::bench;

namespace {

constexpr int kRepeats = 7;

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

// A photograph-like picture: smooth gradients with fine noise, so the entropy decoder has work.
void WritePhoto(const fs::path& path, int width, int height, unsigned seed,
                const char* format = "JPEG") {
  QImage image(width, height, QImage::Format_RGB32);
  std::mt19937 random(seed);
  std::uniform_int_distribution<int> noise(-12, 12);
  for (int y = 0; y < height; ++y) {
    auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < width; ++x) {
      const int r = std::clamp(x * 255 / width + noise(random), 0, 255);
      const int g = std::clamp(y * 255 / height + noise(random), 0, 255);
      const int b = std::clamp(((x + y) * 97 / 50) % 256 + noise(random), 0, 255);
      row[x] = qRgb(r, g, b);
    }
  }
  image.save(QString::fromStdString(path.string()), format, 90);
}

long PeakRssMb() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss / 1024;
}

double TimeCatalogue(const fs::path& dir) {
  PosixFileSystem files;
  std::vector<double> times;
  std::int16_t count = 0;
  for (int i = 0; i < kRepeats; ++i) {
    NameList list(NameList::Order::kInsertion);
    const auto start = Steady::now();
    FillCatalogue(list, files, dir.string() + "/", kPictureExtensions);
    times.push_back(Ms(Steady::now() - start));
    count = list.ListCount();
  }
  std::printf("catalogue: %d names\n", count);
  return Median(times);
}

double TimeFind(const fs::path& dir) {
  std::vector<double> times;
  const std::string command = "find '" + dir.string() + "' -maxdepth 1 -iname '*.jpg' > /dev/null";
  for (int i = 0; i < kRepeats; ++i) {
    const auto start = Steady::now();
    if (std::system(command.c_str()) != 0) return -1;
    times.push_back(Ms(Steady::now() - start));
  }
  return Median(times);
}

}  // namespace

int main(int argc, char* argv[]) {
  const fs::path root = fs::temp_directory_path() / ("trelvin-bench-" + std::to_string(getpid()));
  const fs::path show_dir = root / "show";
  const fs::path many_dir = root / "many";
  fs::create_directories(show_dir);
  fs::create_directories(many_dir);

  // The pictures are made in a child process, so that making them does not count as the show's
  // memory.
  if (const pid_t child = fork(); child == 0) {
    WritePhoto(show_dir / "a-large.jpg", 4000, 3000, 1);
    WritePhoto(show_dir / "d-large.png", 4000, 3000, 3, "PNG");
    WritePhoto(show_dir / "e-large.webp", 4000, 3000, 4, "WEBP");
    WritePhoto(show_dir / "b-screen.jpg", 1920, 1080, 2);
    for (int i = 0; i < 6; ++i)
      WritePhoto(show_dir / ("c-12mp-" + std::to_string(i) + ".jpg"), 4000, 3000, 10 + i);
    _exit(0);
  } else {
    waitpid(child, nullptr, 0);
  }
  for (int i = 0; i < NameList::kMaxEntries; ++i) {
    std::ofstream(many_dir / (std::to_string(i) + ".jpg"));
  }

  QApplication app(argc, argv);
  QtWindowRuntime runtime;
  const Size screen = runtime.ScreenSize();
  std::printf("screen: %d x %d\n", screen.width, screen.height);

  QtSettingsStore settings((root / "config").string());
  PosixFileSystem files;
  SystemClock clock;
  StandardRandom random;
  XdgShell shell;
  QtInstanceLock instance;
  QtFolderDialog folder_dialog(runtime);
  LinuxKnownPaths known_paths;
  QtLocale locale;
  NoScreenGrab screen_grab;
  NoJpeg jpeg;
  NoMedia media;
  QtPictures qt_pictures;
  TimedPictures pictures(qt_pictures);
  QtPrinter printer;
  QtMessageBox message_box;
  DesktopWallpaper wallpaper;
  QtCursor cursor;
  NoWindows windows;
  fakes::FakeNotifications notifications;
  fakes::FakeVideoMaker video;
  LinuxScreenSaverLock saver_lock;
  Services services{runtime,  settings,      files,         clock,       random,      shell,
                    instance, folder_dialog, known_paths,   locale,      screen_grab, jpeg,
                    media,    pictures,      printer,       message_box, wallpaper,   cursor,
                    windows,  saver_lock,    notifications, video};
  FormMainSlide main_window(services, "");
  main_window.AppPath = show_dir.string() + "/";
  main_window.hscrShow.SetValue(600);
  FormSlideShow& show = main_window.formSlideShow();

  double stretched_ms = 0, natural_ms = 0, floor_draw_ms = 0;
  double ordered_change_ms = 0, random_change_ms = 0;
  struct Ahead {
    const char* name;
    double unprepared_ms = 0, prepared_ms = 0;
  };
  Ahead ahead[] = {{"a-large.jpg"}, {"d-large.png"}, {"e-large.webp"}};
  QTimer::singleShot(0, [&] {
    QWidget* window = runtime.WidgetFor(show);
    QWidget* image_view = window ? window->findChild<QWidget*>() : nullptr;
    if (!image_view) {
      std::fprintf(stderr, "no picture control\n");
      show.Unload();
      return;
    }
    PaintCounter counter;
    image_view->installEventFilter(&counter);
    // From the call to the picture painted: the paint runs on the next turn of the event loop.
    auto time_slide = [&](std::int16_t index, bool stretch) {
      std::vector<double> times;
      for (int i = 0; i < kRepeats; ++i) {
        show.PictureIndex = index;
        show.StretchFlag = stretch;
        const int before = counter.paints;
        const auto start = Steady::now();
        show.ShowSlide();
        const auto called = Steady::now();
        while (counter.paints == before) QCoreApplication::processEvents();
        const auto painted = Steady::now();
        QApplication::sync();
        times.push_back(Ms(Steady::now() - start));
        if (std::getenv("TRELVIN_BENCH_DETAIL")) {
          std::printf("  call %.1f ms, paint %.1f ms, sync %.1f ms\n", Ms(called - start),
                      Ms(painted - called), Ms(Steady::now() - painted));
        }
      }
      return Median(times);
    };
    // Waits for the paint that `change` causes; in detail, where its time went.
    auto time_paint = [&](const std::function<void()>& change, const char* name = nullptr) {
      const int before = counter.paints;
      const auto start = Steady::now();
      change();
      const auto called = Steady::now();
      while (counter.paints == before) QCoreApplication::processEvents();
      const auto painted = Steady::now();
      QApplication::sync();
      const auto synced = Steady::now();
      if (std::getenv("TRELVIN_BENCH_DETAIL")) {
        // What the control drew: a picture of another format or size than the control is
        // converted or scaled at every paint; a second paint would draw it all again.
        const auto* shown = dynamic_cast<const QtPicture*>(show.Image1.CurrentPicture().get());
        QCoreApplication::processEvents();
        std::printf(
            "  %s: load %.1f ms, rest of the call %.1f ms, to the paint %.1f ms, paint and flush "
            "%.1f ms, sync %.1f ms; format %d, %s the control, %d paint(s)\n",
            name ? name : show.CurrentName.c_str(), pictures.load_ms,
            Ms(called - start) - pictures.load_ms, Ms(counter.last_paint - called),
            Ms(painted - counter.last_paint), Ms(synced - painted),
            shown ? static_cast<int>(shown->image().format()) : -1,
            shown && shown->image().size() == image_view->size() ? "the size of"
                                                                 : "not the size of",
            counter.paints - before);
      }
      return Ms(synced - start);
    };
    // The directory lists in its own order: look the two pictures up.
    auto index_of = [&](const std::string& name) {
      for (std::int16_t i = 0; i < show.lstImages.ListCount(); ++i) {
        if (show.lstImages.List(i) == name) return i;
      }
      return std::int16_t{0};
    };
    // The show prepared its second slide when it opened: out of the way, so that no decode on the
    // worker competes with the ones measured.
    pictures.DropPreparedPicture();
    std::this_thread::sleep_for(std::chrono::seconds(2));
    stretched_ms = time_slide(index_of("a-large.jpg"), true);
    natural_ms = time_slide(index_of("b-screen.jpg"), false);
    // The floor: a picture already of the window's size drawn into it, nothing decoded or scaled.
    // Each is a fresh picture made beforehand and replaces the one before, as a prepared slide
    // does, so that neither is measured warm in the cache or without releasing its predecessor.
    {
      show.Image1.SetStretch(true);
      show.Image1.SetGeometry({0, 0, screen.width, screen.height});
      std::vector<double> times;
      for (int i = 0; i < kRepeats; ++i) {
        QImage frame(screen.width, screen.height, QImage::Format_RGB32);
        frame.fill(QColor(30, 90 + i, 60));
        auto picture = std::make_shared<QtPicture>(std::move(frame));
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        if (i == 0 && std::getenv("TRELVIN_BENCH_DETAIL")) std::printf("floor:\n");
        pictures.load_ms = 0;
        times.push_back(
            time_paint([&] { show.Image1.SetPicture(std::move(picture)); }, "screen-sized"));
      }
      floor_draw_ms = Median(times);
      if (std::getenv("TRELVIN_BENCH_DETAIL")) {
        FloorDetail(screen, kRepeats, floor_draw_ms, pictures, show.PicturePath + "d-large.png",
                    [&](std::shared_ptr<QtPicture> picture) {
                      pictures.load_ms = 0;
                      return time_paint([&] { show.Image1.SetPicture(std::move(picture)); },
                                        "screen-sized");
                    });
      }
    }
    // Stretched 4000 x 3000 pictures, loaded when shown (as without the look-ahead) and prepared
    // ahead; each waits long enough for the worker to have finished either way.
    for (Ahead& a : ahead) {
      const std::string path = show.PicturePath + a.name;
      for (bool prepared : {false, true}) {
        std::vector<double> times;
        for (int i = 0; i < kRepeats; ++i) {
          if (prepared) {
            pictures.PreparePicture(path, screen);
            // Nothing to draw: the decode starts at once.
            QCoreApplication::processEvents();
          } else {
            pictures.DropPreparedPicture();
          }
          std::this_thread::sleep_for(std::chrono::milliseconds(1500));
          show.PictureIndex = index_of(a.name);
          show.StretchFlag = true;
          if (i == 0 && std::getenv("TRELVIN_BENCH_DETAIL")) {
            std::printf("%s:\n", prepared ? "prepared" : "loaded when shown");
          }
          times.push_back(time_paint([&] { show.ShowSlide(); }));
        }
        (prepared ? a.prepared_ms : a.unprepared_ms) = Median(times);
      }
    }
    // Timed changes as the show makes them, in order and in random order, an interval apart:
    // each shows the picture the change before prepared, and prepares the next.
    for (bool random : {true, false}) {
      show.RandomFlag = random;
      show.StretchFlag = true;
      show.PictureIndex = 0;
      if (std::getenv("TRELVIN_BENCH_DETAIL")) {
        std::printf("timed changes, %s order (the first not prepared):\n",
                    random ? "random" : "sequential");
      }
      show.SlideTicks = static_cast<std::int16_t>(show.Interval - 1);
      time_paint([&] { show.Timer1_Timer(); });
      std::vector<double> times;
      for (int i = 0; i < kRepeats; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1500));
        show.SlideTicks = static_cast<std::int16_t>(show.Interval - 1);
        times.push_back(time_paint([&] { show.Timer1_Timer(); }));
      }
      (random ? random_change_ms : ordered_change_ms) = Median(times);
    }
    show.RandomFlag = false;
    // A show of 12-megapixel pictures, both ways.
    for (int round = 0; round < 2; ++round) {
      for (std::int16_t i = 0; i < show.lstImages.ListCount(); ++i) {
        if (show.lstImages.List(i).rfind("c-12mp-", 0) != 0) continue;
        show.PictureIndex = i;
        show.StretchFlag = round == 0;
        const int before = counter.paints;
        show.ShowSlide();
        while (counter.paints == before) QCoreApplication::processEvents();
      }
    }
    image_view->removeEventFilter(&counter);
    show.Unload();
  });
  // The opener gives the show its interval (the longest, so no timed change interferes).
  main_window.btnShow_Click();
  const long peak_mb = PeakRssMb();

  const std::string large = (show_dir / "a-large.jpg").string();
  const Size reduced = ReducedJpegSize({4000, 3000}, screen);
  const unsigned eighths = static_cast<unsigned>(reduced.width * 8 / 4000);
  std::vector<double> floor_large, floor_screen;
  for (int i = 0; i < kRepeats; ++i) {
    floor_large.push_back(DecodeFloorMs(large, eighths));
    floor_screen.push_back(DecodeFloorMs((show_dir / "b-screen.jpg").string(), 8));
  }
  const double floor_large_ms = Median(floor_large), floor_screen_ms = Median(floor_screen);

  const double catalogue_ms = TimeCatalogue(many_dir);
  const double find_ms = TimeFind(many_dir);

  std::printf(
      "ShowSlide 4000x3000 stretched: %.1f ms; libjpeg-turbo at %u/8: %.1f ms; ratio %.2f\n",
      stretched_ms, eighths, floor_large_ms, stretched_ms / floor_large_ms);
  std::printf("ShowSlide 1920x1080 natural:   %.1f ms; libjpeg-turbo at 8/8: %.1f ms; ratio %.2f\n",
              natural_ms, floor_screen_ms, natural_ms / floor_screen_ms);
  for (const Ahead& a : ahead) {
    std::printf(
        "ShowSlide %s stretched, prepared: %.1f ms; floor (draw a screen-sized picture): %.1f ms; "
        "ratio %.2f; loaded when shown: %.1f ms\n",
        a.name, a.prepared_ms, floor_draw_ms, a.prepared_ms / floor_draw_ms, a.unprepared_ms);
  }
  std::printf(
      "timed change, stretched, prepared: sequential %.1f ms (ratio %.2f), random %.1f ms "
      "(ratio %.2f) to the floor of %.1f ms\n",
      ordered_change_ms, ordered_change_ms / floor_draw_ms, random_change_ms,
      random_change_ms / floor_draw_ms, floor_draw_ms);
  std::printf("catalogue of %d files: %.1f ms; find: %.1f ms; ratio %.2f\n", NameList::kMaxEntries,
              catalogue_ms, find_ms, catalogue_ms / find_ms);
  std::printf("peak memory (RSS) of the show with 12-megapixel pictures: %ld MB\n", peak_mb);
  fs::remove_all(root);
  return 0;
}
