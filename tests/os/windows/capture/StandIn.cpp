// The second process the capture tests start: a stand-in for another program's window.
#include "os/windows/capture/StandIn.h"

#include <windows.h>

#include <string>

#include "os/windows/WinText.h"

namespace trelvin::test {

namespace {

std::wstring g_report;
int g_enters = 0;

void Report(const std::string& text) {
  // Written whole under a new name, then renamed, so the reader never sees half a line.
  const std::wstring temp = g_report + L".part";
  HANDLE file = CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  CloseHandle(file);
  MoveFileExW(temp.c_str(), g_report.c_str(), MOVEFILE_REPLACE_EXISTING);
}

LRESULT CALLBACK StandInProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_KEYDOWN:
      if (wparam == VK_RETURN) {
        ++g_enters;
        Report("enter " + std::to_string(g_enters));
      }
      return 0;
    case WM_DESTROY:
      if (GetWindowLongPtrW(window, GWLP_USERDATA) == 1) PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(window, message, wparam, lparam);
  }
}

}  // namespace

std::string ReadText(const std::wstring& path) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE,
                            nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return {};
  std::string text(4096, '\0');
  DWORD got = 0;
  ReadFile(file, text.data(), static_cast<DWORD>(text.size()), &got, nullptr);
  CloseHandle(file);
  text.resize(got);
  return text;
}

int RunStandInWindow(int argc, char** argv) {
  if (argc < 4) return 2;
  g_report = Widen(argv[argc - 1]);
  WNDCLASSW window_class{};
  window_class.lpfnWndProc = StandInProc;
  window_class.hInstance = GetModuleHandleW(nullptr);
  window_class.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  window_class.lpszClassName = L"TrelvinStandIn";
  RegisterClassW(&window_class);
  for (int i = 2; i < argc - 1; ++i) {
    HWND window = CreateWindowExW(0, L"TrelvinStandIn", Widen(argv[i]).c_str(),
                                  WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100 + 40 * i, 100 + 40 * i, 320,
                                  200, nullptr, nullptr, window_class.hInstance, nullptr);
    if (!window) return 3;
    SetWindowLongPtrW(window, GWLP_USERDATA, i == 2 ? 1 : 0);
    UpdateWindow(window);
  }
  Report("ready");
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}

}  // namespace trelvin::test
