// Message boxes on a real display: the answer as the forms expect it, whatever closed the box.
#include <atomic>
#include <thread>

#include <gtest/gtest.h>

#include "os/windows/WinApi.h"
#include "os/windows/window/WinMessageBox.h"

namespace trelvin {
namespace {

// Answers the next message box titled `caption` with `command` (a button id) from another
// thread, as a user would press the button or close the box.
class Answerer {
 public:
  Answerer(const wchar_t* caption, WPARAM command)
      : thread_([this, caption, command] {
          for (int i = 0; i < 3000 && !stop_; ++i) {
            if (HWND box = FindWindowW(L"#32770", caption)) {
              PostMessageW(box, WM_COMMAND, command, 0);
              return;
            }
            Sleep(10);  // polls for the box to appear
          }
        }) {}
  ~Answerer() {
    stop_ = true;
    thread_.join();
  }

 private:
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

// Escape or the close box: Wine reports IDCANCEL even without a Cancel button.
TEST(WinMessageBoxTest, OnlyYesIsYesAndEveryOtherWayOutIsNo) {
  WinMessageBox boxes;
  struct Case {
    WPARAM command;
    int style, answer;
  };
  for (const Case& c :
       {Case{IDYES, kMbYesNo | kMbIconQuestion | kMbDefButton2, kIdYes}, Case{IDCANCEL, 292, kIdNo},
        Case{IDNO, 292, kIdNo}, Case{IDOK, kMbIconInformation, kIdOk}}) {
    Answerer answer(L"TrelvinShow", c.command);
    EXPECT_EQ(boxes.MsgBox("Sure?", c.style, "TrelvinShow"), c.answer) << c.command;
  }
}

}  // namespace
}  // namespace trelvin
