// The window activation's conformance driver for X11: stand-in windows of another program
// (tests/tools/fake_emulator.cpp) on a virtual display of its own with a window manager. Without
// one, X11 activates differently: tests/e2e/x11_services_test.cpp.
#include <cstdlib>
#include <map>

#include "conformance/WindowActivationDriver.h"
#include "e2e/FakeEmulator.h"
#include "e2e/Harness.h"
#include "os/linux/capture/X11WindowActivation.h"
#include "support/ScopedEnv.h"

namespace trelvin::conformance {
namespace {

class X11WindowActivationDriver : public WindowActivationDriver {
 public:
  ~X11WindowActivationDriver() override {
    windows_.reset();
    emulators_.clear();
  }
  WindowActivation& Service() override { return *windows_; }
  bool Show(const std::vector<std::string>& titles) override {
    if (!display_.ok()) return false;
    int x = 10;
    for (const std::string& title : titles) {
      auto emulator =
          std::make_unique<e2e::FakeEmulator>(display_, title, e2e::Placement{x, 10, 60, 40});
      if (!emulator->ok()) return false;
      emulators_[title] = std::move(emulator);
      x += 90;
    }
    return true;
  }
  bool BecomesActive(const std::string& title) override {
    return e2e::WaitFor(
        [&] { return display_.Xdotool("getwindowfocus getwindowname").output == title + "\n"; });
  }
  int Enters(const std::string& title, int expected) override {
    const e2e::FakeEmulator& emulator = *emulators_.at(title);
    const std::string want = std::to_string(expected) + " " + std::to_string(expected);
    e2e::WaitFor([&] { return emulator.Count() == want; });
    return std::atoi(emulator.Count().c_str());
  }

 private:
  e2e::VirtualDisplay display_{320, 240, true};
  // The service connects to $DISPLAY: the driver's display while it lives.
  test_support::ScopedEnv display_env_{"DISPLAY", display_.Name()};
  std::unique_ptr<X11WindowActivation> windows_ = std::make_unique<X11WindowActivation>();
  std::map<std::string, std::unique_ptr<e2e::FakeEmulator>> emulators_;
};

}  // namespace

std::unique_ptr<WindowActivationDriver> MakeWindowActivationDriver() {
  return std::make_unique<X11WindowActivationDriver>();
}

}  // namespace trelvin::conformance
