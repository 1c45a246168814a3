#include "os/windows/WinHiddenWindow.h"

namespace trelvin {

HWND MakeHiddenWindow(const wchar_t* class_name, WNDPROC proc, const wchar_t* title, void* user,
                      HWND parent) {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSW window_class{};
  window_class.lpfnWndProc = proc;
  window_class.hInstance = instance;
  window_class.lpszClassName = class_name;
  RegisterClassW(&window_class);
  HWND window = CreateWindowExW(0, class_name, title, parent ? 0 : WS_OVERLAPPED, 0, 0, 0, 0,
                                parent, nullptr, instance, nullptr);
  if (window) SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(user));
  return window;
}

}  // namespace trelvin
