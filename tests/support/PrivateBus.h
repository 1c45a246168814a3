#pragma once

// A session bus of the test's own with one stand-in service on it, which appends what it sees to
// a record file; both end with this object.
#include <signal.h>
#include <stdio.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <thread>

namespace trelvin::test_support {

class PrivateBus {
 public:
  // Starts `standin 'record' extra` on a new bus once dbus-daemon is there (see `missing`).
  PrivateBus(const std::string& standin, const std::string& record, const std::string& extra = "")
      : missing_(Output("command -v dbus-daemon").empty()) {
    if (missing_) return;
    std::istringstream bus(Output("dbus-daemon --session --fork --print-address=1 --print-pid=1"));
    if (!(bus >> address_ >> bus_pid_)) return;
    standin_pid_ = std::atoi(
        Output(OnBus() + standin + " '" + record + "' " + extra + " >/dev/null 2>&1 & echo $!")
            .c_str());
    // The stand-in touches its record file once its names are on the bus.
    for (int i = 0; i < 1200 && !std::filesystem::exists(record); ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    ok_ = std::filesystem::exists(record);
  }
  ~PrivateBus() {
    if (standin_pid_ > 0) ::kill(standin_pid_, SIGTERM);
    if (bus_pid_ > 0) ::kill(bus_pid_, SIGTERM);
  }
  PrivateBus(const PrivateBus&) = delete;
  PrivateBus& operator=(const PrivateBus&) = delete;

  bool missing() const { return missing_; }
  bool ok() const { return ok_; }
  const std::string& address() const { return address_; }
  // A shell command line's prefix that runs it on this bus.
  std::string OnBus() const { return "DBUS_SESSION_BUS_ADDRESS='" + address_ + "' "; }
  void Signal(int signal) const { ::kill(standin_pid_, signal); }

  static std::string Output(const std::string& command) {
    std::string text;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) return text;
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, pipe)) text += buffer;
    ::pclose(pipe);
    return text;
  }

 private:
  bool missing_;
  bool ok_ = false;
  std::string address_;
  pid_t bus_pid_ = 0;
  pid_t standin_pid_ = 0;
};

}  // namespace trelvin::test_support
