#pragma once

// Runs the real program on a virtual X display of its own (Xvfb with a window manager), drives it
// with xdotool and reads the screen back.
#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace trelvin::e2e {

struct CommandResult {
  int status = -1;
  std::string output;
};

// Runs a shell command line (test helpers only) and returns its exit status and standard output.
CommandResult Run(const std::string& command);
// Quotes one argument for a shell command line.
std::string Quote(const std::string& text);

// Starts `argv` with `env` added; its output goes to `log` (or nowhere), or to ours with
// TRELVIN_E2E_VERBOSE set.
pid_t Spawn(const std::vector<std::string>& argv, const std::map<std::string, std::string>& env,
            int keep_fd = -1, const std::string& log = "");
// Asks `pid` to end, then ends it if it has not within two seconds, and reaps it.
void Stop(pid_t pid);

// A window-title pattern matching the settings window exactly, with the build's version.
std::string MainWindowTitlePattern();

// Polls `condition` every 50 ms until it holds or `timeout` passes. The timeouts are generous:
// they cost nothing when things work, and a busy machine (two test runs, a sanitizer build) can
// take seconds to map a window.
bool WaitFor(const std::function<bool()>& condition,
             std::chrono::milliseconds timeout = std::chrono::seconds(30));

struct Rgb8 {
  int r = 0, g = 0, b = 0;
};

// A screenshot as RGB pixels.
struct Screenshot {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> rgb;
  Rgb8 At(int x, int y) const;
};

// Two monitors side by side: the primary at (0, 0), the second to its right.
struct TwoMonitors {
  int width = 0, height = 0;
  int second_width = 0, second_height = 0;
};

class VirtualDisplay {
 public:
  // Starts Xvfb at the given size; with `window_manager`, also openbox.
  VirtualDisplay(int width, int height, bool window_manager = true);
  // Starts Xorg with the dummy video driver and openbox, with two monitors as RandR outputs (Qt
  // sees no second screen on Xvfb). Xorg runs with a configuration of its own only for root:
  // elsewhere the display is not ok().
  explicit VirtualDisplay(TwoMonitors monitors);
  ~VirtualDisplay();
  VirtualDisplay(const VirtualDisplay&) = delete;
  VirtualDisplay& operator=(const VirtualDisplay&) = delete;

  bool ok() const { return ok_; }
  const std::string& Name() const { return name_; }  // ":N"
  // Environment prefix for shell commands on this display.
  std::string Env() const { return "DISPLAY=" + name_ + " "; }

  // xdotool with the given arguments on this display.
  CommandResult Xdotool(const std::string& args) const;
  // Clicks at (x, y) of the window as a hand would, after a moment for a newly mapped window to
  // settle: the window activated, the pointer leaving and arriving again, so the toolkit sees it
  // enter the control before the press.
  void ClickAt(const std::string& id, int x, int y) const;
  // The id of the first visible window whose title matches `title_regex`, or empty.
  std::string FindWindow(const std::string& title_regex) const;
  bool WaitForWindow(const std::string& title_regex, std::string* id = nullptr,
                     std::chrono::milliseconds timeout = std::chrono::seconds(30)) const;
  Screenshot Capture() const;
  // Asks the window manager to close the window (_NET_CLOSE_WINDOW; without a window manager,
  // WM_DELETE_WINDOW to the window itself), as its close button does. Unlike a typed alt+F4 this
  // does not depend on which window has the keyboard focus.
  bool CloseWindow(const std::string& id) const;
  // Whether the window's WM_STATE says it is iconic (minimised).
  bool Iconic(const std::string& id) const;
  // Sets the X resource Xft.dpi, which programs started afterwards scale by.
  bool SetDpi(int dpi) const;
  // Saves a screenshot of the display as a PNG file.
  bool SavePng(const std::string& path) const;
  // On a display of two monitors: sets the second to `width` x `height` right of the primary, or
  // turns it off (0 x 0).
  bool SetSecondMonitor(int width, int height) const;

 private:
  // Starts the X server `argv` (which reports its display number on descriptor 3).
  pid_t StartServer(const std::vector<std::string>& argv);
  bool StartWindowManager();

  pid_t server_ = -1;
  pid_t wm_ = -1;
  std::string xorg_dir_;
  std::string name_;
  bool ok_ = false;
};

// A private home for one run of the program: HOME, XDG_CONFIG_HOME, XDG_RUNTIME_DIR, XDG_DATA_HOME.
class TestHome {
 public:
  TestHome();
  ~TestHome();
  const std::filesystem::path& Root() const { return root_; }
  std::filesystem::path ConfigFile() const { return root_ / "config/Trelvin/Trelvin.conf"; }
  void WriteConfig(const std::string& ini) const;
  std::string ReadConfig() const;
  // Environment assignments for the program.
  std::map<std::string, std::string> Environment() const;

 private:
  std::filesystem::path root_;
};

// The program started on a display with a home; killed when destroyed if still running. What it
// prints is kept in the home and shown when it ends with a failure or does not end in time.
class Program {
 public:
  Program(const VirtualDisplay& display, const TestHome& home, const std::vector<std::string>& args,
          std::map<std::string, std::string> extra_env = {}, const std::string& executable = "");
  ~Program();
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  pid_t Pid() const { return pid_; }
  bool Running();
  // Waits for the process to end; its exit status, or -1 on timeout.
  int Wait(std::chrono::milliseconds timeout = std::chrono::seconds(20));

 private:
  void ReportOutput(const std::string& why) const;

  pid_t pid_ = -1;
  int status_ = -1;
  bool reaped_ = false;
  std::string log_;
};

// The program's executable and its directory in the build tree.
std::string ExecutablePath();

// Copies the program (with its converter library) into `dir`, which becomes its program directory:
// a second installation, with its own songs, emulator and instance. Returns the executable's path.
std::filesystem::path InstallProgramCopy(const std::filesystem::path& dir);

// The captures in `dir` (yyyymmddhhmmss.jpg, or with "-N" after the stamp), sorted.
std::vector<std::filesystem::path> CaptureFiles(const std::filesystem::path& dir);

// Those of `seen` still there 1.5 s later. The bitmap and the temporary file of a capture under
// way live a few milliseconds and every capture names its own, so one still there was left behind.
std::vector<std::filesystem::path> LeftBehind(const std::vector<std::filesystem::path>& seen);

// A number field of /proc/PID/status ("VmRSS", "Threads"), or -1.
long ProcStatusValue(pid_t pid, const std::string& field);

}  // namespace trelvin::e2e
