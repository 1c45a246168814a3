#pragma once

// Ideal stand-ins for the services of a kept capture run, with switches that make a step fail.
#include <optional>
#include <string>

#include "core/capture/CaptureKeeper.h"

namespace trelvin::fakes {

class FakeDiskSpace : public DiskSpace {
 public:
  std::optional<DiskUsage> SpaceOf(const std::string&) override {
    if (fails) return std::nullopt;
    return usage;
  }
  DiskUsage usage{100LL << 30, 500LL << 30};
  bool fails = false;
};

class FakeSessionPresence : public SessionPresence {
 public:
  bool Away() override { return away; }
  bool away = false;
};

class FakeDisplayInhibit : public DisplayInhibit {
 public:
  bool Hold() override { return held = true; }
  void Release() override { held = false; }
  bool held = false;
};

class FakeTrayIcon : public TrayIcon {
 public:
  bool Show(const TrayIconState& state) override {
    shown = state;
    return visible = !no_area;
  }
  void Hide() override { visible = false; }
  TrayIconState shown;
  bool visible = false;
  bool no_area = false;  // a desktop without a notification area
};

struct FakeCaptureKeeping {
  FakeDiskSpace disk;
  FakeSessionPresence presence;
  FakeDisplayInhibit inhibit;
  FakeTrayIcon icon;
  CaptureKeepServices services{disk, presence, inhibit, icon};
};

}  // namespace trelvin::fakes
