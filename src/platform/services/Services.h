#pragma once

#include "platform/services/Clock.h"
#include "platform/services/Cursor.h"
#include "platform/services/FileSystem.h"
#include "platform/services/FolderDialog.h"
#include "platform/services/InstanceLock.h"
#include "platform/services/JpegConverter.h"
#include "platform/services/KnownPaths.h"
#include "platform/services/Locale.h"
#include "platform/services/MediaControl.h"
#include "platform/services/MessageBox.h"
#include "platform/services/Pictures.h"
#include "platform/services/Printer.h"
#include "platform/services/Random.h"
#include "platform/services/ScreenGrab.h"
#include "platform/services/SettingsStore.h"
#include "platform/services/Shell.h"
#include "platform/services/Wallpaper.h"
#include "platform/services/WindowActivation.h"
#include "platform/services/WindowRuntime.h"

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
