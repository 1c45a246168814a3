#include "os/windows/window/WinWindowRuntime.h"

#include <cstdio>

#include "os/windows/window/WinCoverWindows.h"
#include "os/windows/window/WinFormWindow.h"

namespace trelvin {

WinWindowRuntime::WinWindowRuntime() = default;

WinWindowRuntime::~WinWindowRuntime() {
  for (auto& [form, window] : windows_) const_cast<Form*>(form)->SetHost(nullptr);
}

int WinWindowRuntime::Run(Form& startup) {
  WinFormWindow* window = CreateFormWindow(startup, nullptr);
  if (!window) {
    // No window can be made (no desktop, as for a preview started without one): the load still
    // runs, so that "/p" and a second instance end as they should; a window to show fails.
    startup.RunLoad();
    return startup.Loaded() ? 1 : 0;
  }
  if (!window->CreateViews()) {
    DestroyFormWindow(startup);
    return 1;
  }
  startup.RunLoad();
  if (!startup.Loaded()) {
    DestroyFormWindow(startup);
    return 0;
  }
  // The start-up window appears in the middle of the primary screen's work area.
  RECT area{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
  RECT frame{};
  GetWindowRect(window->hwnd(), &frame);
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  SetWindowPos(window->hwnd(), nullptr, area.left + (area.right - area.left - width) / 2,
               area.top + (area.bottom - area.top - height) / 2, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  startup.SetVisible(true);
  SetForegroundWindow(window->hwnd());
  window->RunModal();
  DestroyFormWindow(startup);
  return 0;
}

Size WinWindowRuntime::ScreenSize() const {
  return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

void WinWindowRuntime::ShowModal(Form& form, Form& owner) {
  if (form.Loaded()) return;
  HWND owner_hwnd = HandleFor(owner);
  WinFormWindow* window = CreateFormWindow(form, owner_hwnd);
  if (!window || !window->CreateViews()) {
    DestroyFormWindow(form);
    return;
  }
  // The owner takes no input while the modal window is open.
  const bool owner_was_enabled = owner_hwnd && IsWindowEnabled(owner_hwnd);
  if (owner_was_enabled) EnableWindow(owner_hwnd, FALSE);
  form.RunLoad();
  if (form.Loaded()) {
    if (!IsWindowVisible(window->hwnd())) form.SetVisible(true);
    // A window kept above the task bar covers the primary monitor (the show): the others are
    // covered too, so that none of them shows the desktop.
    std::unique_ptr<WinCoverWindows> covers;
    if (GetWindowLongPtrW(window->hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST) {
      covers = std::make_unique<WinCoverWindows>(window->hwnd(), form.BackColor());
    }
    SetForegroundWindow(window->hwnd());
    window->RunModal();
  }
  // Enabled again before the modal window goes, so that the owner gets the activation back.
  if (owner_was_enabled) EnableWindow(owner_hwnd, TRUE);
  DestroyFormWindow(form);
}

void WinWindowRuntime::EndAtOnce() {
  // No unload handler runs and nothing is written: leave without any clean-up.
  std::fflush(nullptr);
  TerminateProcess(GetCurrentProcess(), 0);
}

void WinWindowRuntime::CloseForm(Form& form) {
  form.RunUnload();
  if (WinFormWindow* window = WindowFor(form)) window->FormUnloaded();
}

WinFormWindow* WinWindowRuntime::WindowFor(const Form& form) const {
  auto it = windows_.find(&form);
  return it == windows_.end() ? nullptr : it->second.get();
}

HWND WinWindowRuntime::HandleFor(const Form& form) const {
  WinFormWindow* window = WindowFor(form);
  return window ? window->hwnd() : nullptr;
}

HWND WinWindowRuntime::HandleFor(WindowHandle handle) const {
  for (const auto& [form, window] : windows_) {
    if (form->Handle() == handle) return window->hwnd();
  }
  return nullptr;
}

WinFormWindow* WinWindowRuntime::CreateFormWindow(Form& form, HWND owner) {
  auto window = std::make_unique<WinFormWindow>(form, owner);
  if (!window->hwnd()) return nullptr;
  WinFormWindow* raw = window.get();
  windows_[&form] = std::move(window);
  form.SetHost(this);
  return raw;
}

void WinWindowRuntime::DestroyFormWindow(Form& form) {
  form.SetHost(nullptr);
  auto it = windows_.find(&form);
  if (it == windows_.end()) return;
  // Only called once the window's modal loop has ended, so none of its handlers is running.
  windows_.erase(it);
}

}  // namespace trelvin
