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
  window->events().Load();
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
  if (WinFormWindow* window = Open(form, &owner)) {
    // A window kept above the task bar covers the primary monitor (the show): the others are
    // covered too, so that none of them shows the desktop.
    std::unique_ptr<WinCoverWindows> covers;
    if (GetWindowLongPtrW(window->hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST) {
      covers = std::make_unique<WinCoverWindows>(window->hwnd(), form, window->events());
      SetForegroundWindow(window->hwnd());
    }
    window->RunModal();
  }
  DestroyFormWindow(form);
}

WinFormWindow* WinWindowRuntime::Open(Form& form, Form* owner) {
  HWND owner_hwnd = owner ? HandleFor(*owner) : nullptr;
  WinFormWindow* window = CreateFormWindow(form, owner_hwnd);
  if (!window || !window->CreateViews()) return nullptr;
  // The owner takes no input while the window is open.
  if (owner_hwnd && IsWindowEnabled(owner_hwnd)) {
    EnableWindow(owner_hwnd, FALSE);
    disabled_owners_[&form] = owner_hwnd;
  }
  window->events().Load();
  if (!form.Loaded()) return nullptr;
  if (!IsWindowVisible(window->hwnd())) form.SetVisible(true);
  SetForegroundWindow(window->hwnd());
  return window;
}

void WinWindowRuntime::EndAtOnce() {
  // No unload handler runs and nothing is written: leave without any clean-up.
  std::fflush(nullptr);
  TerminateProcess(GetCurrentProcess(), 0);
}

void WinWindowRuntime::CloseForm(Form& form) {
  WinFormWindow* window = WindowFor(form);
  if (!window) {
    form.RunUnload();
    return;
  }
  window->events().Unload();
  window->FormUnloaded();
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
  raw->AddMessageHook(
      [this](UINT message, WPARAM wparam, LPARAM) { return OnSessionMessage(message, wparam); });
  windows_[&form] = std::move(window);
  form.SetHost(this);
  return raw;
}

void WinWindowRuntime::DestroyFormWindow(Form& form) {
  form.SetHost(nullptr);
  // Enabled again before the window goes, so that the owner gets the activation back.
  auto owner = disabled_owners_.find(&form);
  if (owner != disabled_owners_.end()) {
    EnableWindow(owner->second, TRUE);
    disabled_owners_.erase(owner);
  }
  windows_.erase(&form);
}

}  // namespace trelvin
