#pragma once

#include "core/services/Clock.h"
#include "core/services/Cursor.h"
#include "core/services/FileSystem.h"
#include "core/services/FolderDialog.h"
#include "core/services/InstanceLock.h"
#include "core/services/JpegConverter.h"
#include "core/services/KnownPaths.h"
#include "core/services/Locale.h"
#include "core/services/MediaControl.h"
#include "core/services/MessageBox.h"
#include "core/services/Notifications.h"
#include "core/services/Pictures.h"
#include "core/services/Printer.h"
#include "core/services/Random.h"
#include "core/services/ScreenGrab.h"
#include "core/services/ScreenSaverLock.h"
#include "core/services/SettingsStore.h"
#include "core/services/Shell.h"
#include "core/services/VideoMaker.h"
#include "core/services/Wallpaper.h"
#include "core/services/WindowActivation.h"
#include "core/services/WindowRuntime.h"

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
  ScreenSaverLock& saver_lock;
  Notifications& notifications;
  VideoMaker& video;
};

}  // namespace trelvin
