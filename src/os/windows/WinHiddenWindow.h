#pragma once

#include "os/windows/WinApi.h"

namespace trelvin {

// A window of the program's own that is never shown, of class `class_name` with procedure `proc`
// (registered at the first call; a second registration fails harmlessly), holding `user` in
// GWLP_USERDATA. Top-level unless `parent` is HWND_MESSAGE: the notification area and session
// notices need a top-level window, a queue of jobs does not. nullptr on failure.
HWND MakeHiddenWindow(const wchar_t* class_name, WNDPROC proc, const wchar_t* title, void* user,
                      HWND parent = nullptr);

}  // namespace trelvin
