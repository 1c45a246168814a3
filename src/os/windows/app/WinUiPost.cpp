#include "os/windows/app/WinUiPost.h"

#include "os/windows/WinApi.h"

#include "os/windows/WinHiddenWindow.h"

namespace trelvin {

namespace {

constexpr wchar_t kWindowClass[] = L"TrelvinShowUiPost";
constexpr UINT kRunJob = WM_APP + 41;

LRESULT CALLBACK PostProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message != kRunJob) return DefWindowProcW(window, message, wparam, lparam);
  auto* job = reinterpret_cast<std::function<void()>*>(lparam);
  // A window being destroyed drops its queue: the jobs are freed, not run.
  if (GetWindowLongPtrW(window, GWLP_USERDATA) != 0 && *job) (*job)();
  delete job;
  return 0;
}

}  // namespace

WinUiPost::WinUiPost() {
  // The window's data says it is alive: its jobs run only then.
  window_ = MakeHiddenWindow(kWindowClass, PostProc, L"", reinterpret_cast<void*>(1), HWND_MESSAGE);
}

WinUiPost::~WinUiPost() {
  HWND window = static_cast<HWND>(window_);
  if (!window) return;
  SetWindowLongPtrW(window, GWLP_USERDATA, 0);
  MSG msg;
  while (PeekMessageW(&msg, window, kRunJob, kRunJob, PM_REMOVE)) {
    delete reinterpret_cast<std::function<void()>*>(msg.lParam);
  }
  DestroyWindow(window);
}

bool WinUiPost::Post(std::function<void()> job) {
  if (!window_) return false;
  auto* queued = new std::function<void()>(std::move(job));
  if (PostMessageW(static_cast<HWND>(window_), kRunJob, 0, reinterpret_cast<LPARAM>(queued))) {
    return true;
  }
  delete queued;
  return false;
}

}  // namespace trelvin
