#pragma once

#include "platform/Clock.h"
#include "platform/Cursor.h"
#include "platform/FileSystem.h"
#include "platform/FolderDialog.h"
#include "platform/InstanceLock.h"
#include "platform/JpegConverter.h"
#include "platform/KnownPaths.h"
#include "platform/Locale.h"
#include "platform/MediaControl.h"
#include "platform/MessageBox.h"
#include "platform/Pictures.h"
#include "platform/Printer.h"
#include "platform/Random.h"
#include "platform/ScreenGrab.h"
#include "platform/SettingsStore.h"
#include "platform/Shell.h"
#include "platform/Wallpaper.h"
#include "platform/WindowActivation.h"
#include "platform/WindowRuntime.h"

namespace trelvin {

// The platform services the forms use, handed to their constructors. Only the program's main (and
// tests, with fakes) fill it.
struct Services {
  WindowRuntime& runtime;
  SettingsStore& settings;
  FileSystem& files;
  Clock& clock;
  Random& random;
  Shell& shell;
  InstanceLock& instance;
  FolderDialog& folder_dialog;
  KnownPaths& known_paths;
  Locale& locale;
  ScreenGrab& screen_grab;
  JpegConverter& jpeg;
  MediaControl& media;
  Pictures& pictures;
  Printer& printer;
  MessageBox& message_box;
  Wallpaper& wallpaper;
  Cursor& cursor;
  WindowActivation& windows;
};

}  // namespace trelvin
