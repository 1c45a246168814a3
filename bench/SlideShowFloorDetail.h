#pragma once

// The slide-show benchmark's detail rows about its floor (TRELVIN_BENCH_DETAIL=1): the same
// screen-sized picture drawn while the worker decodes, and drawn when it was made 1.5 s before.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include <QColor>
#include <QCoreApplication>
#include <QImage>

#include "core/base/Types.h"
#include "core/services/Pictures.h"
#include "os/linux/desktop/QtPicture.h"

namespace trelvin::bench {

// `draw` sets a picture on the control and returns the time until it was painted and synced;
// `decoded` is a large picture for the worker to decode.
inline void FloorDetail(Size screen, int repeats, double floor_ms, Pictures& pictures,
                        const std::string& decoded,
                        const std::function<double(std::shared_ptr<QtPicture>)>& draw) {
  auto median = [](std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
  };
  auto frame = [&](int i) {
    QImage image(screen.width, screen.height, QImage::Format_RGB32);
    image.fill(QColor(60, 90 + i, 30));
    return std::make_shared<QtPicture>(std::move(image));
  };
  // While the worker decodes a 12-megapixel picture, as it did the next slide's when a change
  // started that decode before its own picture was drawn.
  std::printf("floor while the worker decodes:\n");
  std::vector<double> busy;
  for (int i = 0; i < repeats; ++i) {
    auto picture = frame(i);
    pictures.DropPreparedPicture();
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    pictures.PreparePicture(decoded, screen);
    QCoreApplication::processEvents();
    busy.push_back(draw(std::move(picture)));
  }
  std::printf("  median %.1f ms against %.1f ms\n", median(busy), floor_ms);
  pictures.DropPreparedPicture();
  // Made 1.5 s before, as a prepared picture is (by another thread), and by this thread: what a
  // picture that has left the cache costs to draw.
  for (bool other_thread : {true, false}) {
    std::printf("floor, the picture made on %s thread 1.5 s before:\n",
                other_thread ? "another" : "this");
    std::vector<double> cold;
    for (int i = 0; i < repeats; ++i) {
      std::shared_ptr<QtPicture> picture;
      if (other_thread) {
        std::thread([&] { picture = frame(i); }).join();
      } else {
        picture = frame(i);
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(1500));
      cold.push_back(draw(std::move(picture)));
    }
    std::printf("  median %.1f ms against %.1f ms\n", median(cold), floor_ms);
  }
}

}  // namespace trelvin::bench
