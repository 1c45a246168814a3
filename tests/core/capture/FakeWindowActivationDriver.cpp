// The window activation's conformance driver for the fakes: the title rule without a display.
#include "conformance/WindowActivationDriver.h"
#include "fakes/FakePlatform.h"

namespace trelvin::conformance {
namespace {

class FakeWindowActivationDriver : public WindowActivationDriver {
 public:
  WindowActivation& Service() override { return windows_; }
  bool Show(const std::vector<std::string>& titles) override {
    windows_.titles = titles;
    return true;
  }
  bool BecomesActive(const std::string& title) override { return windows_.active == title; }
  int Enters(const std::string& title, int) override {
    return windows_.active == title ? windows_.enters : 0;
  }

 private:
  fakes::FakeWindowActivation windows_;
};

}  // namespace

std::unique_ptr<WindowActivationDriver> MakeWindowActivationDriver() {
  return std::make_unique<FakeWindowActivationDriver>();
}

}  // namespace trelvin::conformance
