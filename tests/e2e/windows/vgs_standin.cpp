// Stands in for the game emulator in the end-to-end capture test: writes the folder it was started
// in to "vgs-started.txt" beside itself and ends, showing nothing.
#include <windows.h>

#include <string>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  wchar_t cwd[MAX_PATH];
  const DWORD cwd_length = GetCurrentDirectoryW(MAX_PATH, cwd);
  wchar_t self[MAX_PATH];
  const DWORD self_length = GetModuleFileNameW(nullptr, self, MAX_PATH);
  if (cwd_length == 0 || cwd_length >= MAX_PATH || self_length == 0 || self_length >= MAX_PATH) {
    return 1;
  }
  std::wstring out(self, self_length);
  out.resize(out.find_last_of(L'\\') + 1);
  out += L"vgs-started.txt";
  // Written whole under another name, then renamed, so the test never reads half a line.
  const std::wstring part = out + L".part";
  HANDLE file = CreateFileW(part.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 1;
  char text[MAX_PATH * 3];
  const int size = WideCharToMultiByte(CP_UTF8, 0, cwd, static_cast<int>(cwd_length), text,
                                       sizeof text, nullptr, nullptr);
  DWORD written = 0;
  const bool ok = size > 0 && WriteFile(file, text, static_cast<DWORD>(size), &written, nullptr) &&
                  written == static_cast<DWORD>(size);
  CloseHandle(file);
  if (!ok || !MoveFileExW(part.c_str(), out.c_str(), MOVEFILE_REPLACE_EXISTING)) return 1;
  return 0;
}
