// Activation of another process's window and the one Enter it gets, against a stand-in window in
// a second Wine process.
#include <windows.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "os/windows/capture/StandIn.h"
#include "os/windows/WaitFor.h"
#include "os/windows/WinText.h"
#include "os/windows/capture/WinWindowActivation.h"

namespace trelvin {
namespace {

std::wstring SelfPath() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  return path;
}

std::wstring TempName(const wchar_t* stem) {
  wchar_t dir[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, dir);
  return std::wstring(dir) + stem + std::to_wstring(GetCurrentProcessId()) + L".txt";
}

// The stand-in window program, running until its first window is closed.
class StandIn {
 public:
  explicit StandIn(const std::vector<std::wstring>& titles) : report_(TempName(L"standin")) {
    DeleteFileW(report_.c_str());
    std::wstring command = L"\"" + SelfPath() + L"\" " + Widen(test::kStandInWindow);
    for (const auto& title : titles) command += L" \"" + title + L"\"";
    command += L" \"" + report_ + L"\"";
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
    if (!started_ || !test::WaitFor([&] { return !test::ReadText(report_).empty(); }, 20)) {
      return false;
    }
    test::WaitFor([&] { return Owns(GetForegroundWindow()); }, 3);
    return true;
  }
  bool Owns(HWND window) const {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    return window && process == process_.dwProcessId;
  }
  std::string Report() const { return test::ReadText(report_); }
  HWND Find(const std::wstring& title) const {
    return FindWindowW(L"TrelvinStandIn", title.c_str());
  }
  // Whether `window` becomes the foreground window (the display confirms it a little later).
  static bool BecomesForeground(HWND window) {
    return window && test::WaitFor([&] { return GetForegroundWindow() == window; }, 5);
  }
  // Closes the first window the way a user would, and waits for the program to end.
  bool Close() {
    if (closed_) return true;
    struct Hunt {
      DWORD process;
      HWND first;
    } hunt{process_.dwProcessId, nullptr};
    EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
          auto& hunt = *reinterpret_cast<Hunt*>(data);
          DWORD process = 0;
          GetWindowThreadProcessId(window, &process);
          if (process != hunt.process || GetWindowLongPtrW(window, GWLP_USERDATA) != 1) return TRUE;
          hunt.first = window;
          return FALSE;
        },
        reinterpret_cast<LPARAM>(&hunt));
    HWND first = hunt.first;
    if (first) PostMessageW(first, WM_CLOSE, 0, 0);
    closed_ = WaitForSingleObject(process_.hProcess, 10000) == WAIT_OBJECT_0;
    return closed_;
  }

 private:
  std::wstring report_;
  PROCESS_INFORMATION process_{};
  bool started_ = false;
  bool closed_ = false;
};

TEST(WindowActivation, ExactTitleThenOneEnter) {
  StandIn stand_in({L"Connectix Virtual Game Station"});
  ASSERT_TRUE(stand_in.Ready());
  WinWindowActivation windows;
  ASSERT_TRUE(windows.ActivateWindow("Connectix Virtual Game Station"));
  EXPECT_TRUE(StandIn::BecomesForeground(stand_in.Find(L"Connectix Virtual Game Station")));
  ASSERT_TRUE(windows.SendEnter());
  EXPECT_TRUE(test::WaitFor([&] { return stand_in.Report() == "enter 1"; }, 10))
      << stand_in.Report();
  // Everything the stand-in received is in once it has ended: still exactly one.
  ASSERT_TRUE(stand_in.Close());
  EXPECT_EQ(stand_in.Report(), "enter 1");
}

TEST(WindowActivation, ExactTitleWinsOverALongerOne) {
  // The longer title comes last, so it is the one the window manager focuses on its own.
  StandIn stand_in({L"Trelvin Stand-in Console", L"Trelvin Stand-in Console Extra"});
  ASSERT_TRUE(stand_in.Ready());
  WinWindowActivation windows;
  ASSERT_TRUE(windows.ActivateWindow("Trelvin Stand-in Console"));
  EXPECT_TRUE(StandIn::BecomesForeground(stand_in.Find(L"Trelvin Stand-in Console")));
}

TEST(WindowActivation, TitleThatBeginsWithTheTextWhenNoneEqualsIt) {
  StandIn stand_in({L"Trelvin Stand-in Station 1.41"});
  ASSERT_TRUE(stand_in.Ready());
  WinWindowActivation windows;
  EXPECT_FALSE(windows.ActivateWindow("Stand-in Station"));  // contained, not at the start
  ASSERT_TRUE(windows.ActivateWindow("Trelvin Stand-in Station"));
  EXPECT_TRUE(StandIn::BecomesForeground(stand_in.Find(L"Trelvin Stand-in Station 1.41")));
}

TEST(WindowActivation, NoMatchingWindow) {
  WinWindowActivation windows;
  EXPECT_FALSE(windows.ActivateWindow("No Window Has This Title 7f3a"));
  EXPECT_FALSE(windows.ActivateWindow(""));
}

}  // namespace
}  // namespace trelvin
