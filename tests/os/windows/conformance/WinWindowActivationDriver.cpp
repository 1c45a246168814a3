// The window activation's conformance driver for Win32: one stand-in window per title, each in
// a second Wine process (this program started with --stand-in-window), on the display
// with-display.sh started.
#include <windows.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "conformance/WindowActivationDriver.h"
#include "os/windows/TestFiles.h"
#include "os/windows/WaitFor.h"
#include "os/windows/WinText.h"
#include "os/windows/app/WinPaths.h"
#include "os/windows/capture/StandIn.h"
#include "os/windows/capture/WinWindowActivation.h"

namespace trelvin::conformance {
namespace {

// The stand-in window program with one window, running until that window is closed.
class StandIn {
 public:
  explicit StandIn(const std::string& title)
      : title_(Widen(title)),
        report_(Widen(test_support::FreshFolder("standin-" + std::to_string(GetCurrentProcessId()) +
                                                "-" +
                                                std::to_string(std::hash<std::string>{}(title)))) +
                L"report.txt") {
    std::wstring command = L"\"" + ExecutablePath() + L"\" " + Widen(test::kStandInWindow) +
                           L" \"" + title_ + L"\" \"" + report_ + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    started_ = CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                              &startup, &process_) != 0;
    if (started_) CloseHandle(process_.hThread);
  }
  ~StandIn() {
    if (!started_) return;
    Close();
    if (WaitForSingleObject(process_.hProcess, 10000) != WAIT_OBJECT_0) {
      TerminateProcess(process_.hProcess, 1);
    }
    CloseHandle(process_.hProcess);
    DeleteFileW(report_.c_str());
  }

  // Shown, and settled: the window manager gives a new window the focus a little after it is
  // shown, which would otherwise race with the activation under test.
  bool Ready() {
    if (!started_ || !test::WaitFor([&] { return !Report().empty(); }, 20)) return false;
    test::WaitFor([&] { return GetForegroundWindow() == Window(); }, 3);
    return true;
  }
  std::string Report() const { return test::ReadText(report_); }
  HWND Window() const { return FindWindowW(L"TrelvinStandIn", title_.c_str()); }
  // Closes the window the way a user would, and waits for the program to end.
  void Close() {
    if (closed_) return;
    if (HWND window = Window()) PostMessageW(window, WM_CLOSE, 0, 0);
    closed_ = WaitForSingleObject(process_.hProcess, 10000) == WAIT_OBJECT_0;
  }

 private:
  std::wstring title_, report_;
  PROCESS_INFORMATION process_{};
  bool started_ = false;
  bool closed_ = false;
};

class WinWindowActivationDriver : public WindowActivationDriver {
 public:
  WindowActivation& Service() override { return windows_; }
  bool Show(const std::vector<std::string>& titles) override {
    for (const std::string& title : titles) {
      auto stand_in = std::make_unique<StandIn>(title);
      if (!stand_in->Ready()) return false;
      stand_ins_[title] = std::move(stand_in);
    }
    return true;
  }
  // The display confirms the foreground window a little later.
  bool BecomesActive(const std::string& title) override {
    HWND window = stand_ins_.at(title)->Window();
    return window && test::WaitFor([&] { return GetForegroundWindow() == window; }, 5);
  }
  // Everything the stand-in received is in once it has ended: the count is final then.
  int Enters(const std::string& title, int expected) override {
    StandIn& stand_in = *stand_ins_.at(title);
    const std::string want = "enter " + std::to_string(expected);
    if (expected > 0) test::WaitFor([&] { return stand_in.Report() == want; }, 10);
    stand_in.Close();
    const std::string report = stand_in.Report();
    return report.rfind("enter ", 0) == 0 ? std::stoi(report.substr(6)) : 0;
  }

 private:
  WinWindowActivation windows_;
  std::map<std::string, std::unique_ptr<StandIn>> stand_ins_;
};

}  // namespace

std::unique_ptr<WindowActivationDriver> MakeWindowActivationDriver() {
  return std::make_unique<WinWindowActivationDriver>();
}

}  // namespace trelvin::conformance
