#pragma once

// The system headers of this platform, for every source in src/platform/windows: include this,
// never <windows.h> itself, and before any other system header. The W/A macros of the system
// headers would otherwise rename the platform interfaces' own members and classes of the same
// names (MessageBox, DeleteFile, CopyFile, ShellExecute, mciSendString, OpenDesktop) in some files
// and not in others.

// windows.h first: the others build on it (kept apart so that sorting leaves the order).
#include <windows.h>

#include <mmsystem.h>
#include <shellapi.h>

#undef CopyFile
#undef DeleteFile
#undef MessageBox
#undef ShellExecute
#undef mciSendString
#undef OpenDesktop
