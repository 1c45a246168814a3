#pragma once

// The one QApplication of the Linux tests that need the toolkit (offscreen platform).
#include <QApplication>

namespace trelvin {

inline QApplication& QtTestApp() {
  static int argc = 1;
  static char name[] = "linux_tests";
  static char* argv[] = {name, nullptr};
  static auto* app = new QApplication(argc, argv);
  return *app;
}

}  // namespace trelvin
