#include "e2e/Harness.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <regex>
#include <sstream>
#include <thread>

namespace trelvin::e2e {

std::string MainWindowTitlePattern() {
  std::string pattern = "^Trelvin Show ";
  for (const char c : std::string(TRELVIN_VERSION)) {
    if (c == '.') pattern += '\\';
    pattern += c;
  }
  return pattern + "$";
}

namespace fs = std::filesystem;

CommandResult Run(const std::string& command) {
  CommandResult result;
  FILE* pipe = ::popen(command.c_str(), "r");
  if (!pipe) return result;
  std::array<char, 65536> buffer{};
  std::size_t n;
  while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
    result.output.append(buffer.data(), n);
  const int status = ::pclose(pipe);
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

std::string Quote(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
  const auto end = std::chrono::steady_clock::now() + timeout;
  while (std::chrono::steady_clock::now() < end) {
    if (condition()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return condition();
}

Rgb8 Screenshot::At(int x, int y) const {
  if (x < 0 || y < 0 || x >= width || y >= height) return {-1, -1, -1};
  const std::size_t i = (static_cast<std::size_t>(y) * width + x) * 3;
  return {rgb[i], rgb[i + 1], rgb[i + 2]};
}

pid_t Spawn(const std::vector<std::string>& argv, const std::map<std::string, std::string>& env,
            int keep_fd, const std::string& log) {
  const pid_t pid = ::fork();
  if (pid != 0) return pid;
  for (const auto& [key, value] : env) ::setenv(key.c_str(), value.c_str(), 1);
  const int null_fd = ::open("/dev/null", O_RDWR);
  ::dup2(null_fd, 0);
  if (!std::getenv("TRELVIN_E2E_VERBOSE")) {
    const int out_fd =
        log.empty() ? null_fd : ::open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    ::dup2(out_fd < 0 ? null_fd : out_fd, 1);
    ::dup2(out_fd < 0 ? null_fd : out_fd, 2);
  }
  if (keep_fd >= 0 && keep_fd != 3) {
    ::dup2(keep_fd, 3);
  }
  std::vector<char*> args;
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  ::execvp(args[0], args.data());
  ::_exit(127);
}

void Stop(pid_t pid) {
  if (pid <= 0) return;
  ::kill(pid, SIGTERM);
  for (int i = 0; i < 40; ++i) {
    if (::waitpid(pid, nullptr, WNOHANG) == pid) return;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  ::kill(pid, SIGKILL);
  ::waitpid(pid, nullptr, 0);
}

VirtualDisplay::VirtualDisplay(int width, int height, bool window_manager) {
  const std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x24";
  server_ = StartServer(
      {"Xvfb", "-displayfd", "3", "-screen", "0", screen, "-nolisten", "tcp", "-ac", "-noreset"});
  ok_ = server_ > 0 && (!window_manager || StartWindowManager());
}

VirtualDisplay::VirtualDisplay(TwoMonitors monitors) {
  if (::geteuid() != 0) return;  // Xorg takes a configuration of its own only from root
  std::string pattern = (fs::temp_directory_path() / "trelvin-xorg-XXXXXX").string();
  if (!::mkdtemp(pattern.data())) return;
  xorg_dir_ = pattern;
  // The dummy driver's RandR outputs DUMMY0..DUMMY15 on one screen of room for both monitors.
  std::ofstream(xorg_dir_ + "/xorg.conf")
      << "Section \"ServerFlags\"\n  Option \"AutoAddDevices\" \"false\"\nEndSection\n"
      << "Section \"Device\"\n  Identifier \"dummy\"\n  Driver \"dummy\"\n"
      << "  VideoRam 64000\nEndSection\n"
      << "Section \"Monitor\"\n  Identifier \"monitor\"\n  HorizSync 5.0-1000.0\n"
      << "  VertRefresh 5.0-200.0\nEndSection\n"
      << "Section \"Screen\"\n  Identifier \"screen\"\n  Device \"dummy\"\n"
      << "  Monitor \"monitor\"\n  DefaultDepth 24\n  SubSection \"Display\"\n    Depth 24\n"
      << "    Virtual " << monitors.width + monitors.second_width << " "
      << std::max(monitors.height, monitors.second_height) << "\n  EndSubSection\nEndSection\n";
  server_ = StartServer({"Xorg", "-displayfd", "3", "-config", xorg_dir_ + "/xorg.conf", "-noreset",
                         "-nolisten", "tcp", "-ac", "-logfile", xorg_dir_ + "/xorg.log"});
  if (server_ <= 0) return;
  const std::string first = std::to_string(monitors.width) + "x" + std::to_string(monitors.height);
  ok_ = Run(Env() + "xrandr --output DUMMY0 --mode " + first + " --primary").status == 0 &&
        SetSecondMonitor(monitors.second_width, monitors.second_height) && StartWindowManager();
}

bool VirtualDisplay::SetSecondMonitor(int width, int height) const {
  if (width <= 0 || height <= 0) return Run(Env() + "xrandr --output DUMMY1 --off").status == 0;
  // A mode of that size at about 60 Hz; the dummy driver takes any timing in its ranges.
  const std::string mode = std::to_string(width) + "x" + std::to_string(height) + "_trelvin";
  char timing[160];
  std::snprintf(timing, sizeof timing, "%f %d %d %d %d %d %d %d %d +hsync +vsync",
                (width + 256) * (height + 28) * 60 / 1e6, width, width + 40, width + 168,
                width + 256, height, height + 1, height + 5, height + 28);
  Run(Env() + "xrandr --newmode " + mode + " " + std::string(timing) + " 2>/dev/null");
  Run(Env() + "xrandr --addmode DUMMY1 " + mode + " 2>/dev/null");
  return Run(Env() + "xrandr --output DUMMY1 --mode " + mode + " --right-of DUMMY0").status == 0;
}

pid_t VirtualDisplay::StartServer(const std::vector<std::string>& argv) {
  int fds[2];
  if (::pipe(fds) != 0) return -1;
  const pid_t pid = Spawn(argv, {}, fds[1]);
  ::close(fds[1]);
  std::string number;
  char c;
  while (::read(fds[0], &c, 1) == 1 && c != '\n') number += c;
  ::close(fds[0]);
  if (number.empty()) {
    Stop(pid);
    return -1;
  }
  name_ = ":" + number;
  return pid;
}

bool VirtualDisplay::StartWindowManager() {
  wm_ = Spawn({"openbox", "--sm-disable"}, {{"DISPLAY", name_}});
  return WaitFor([&] {
    return Run(Env() + "xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null")
               .output.find("window id") != std::string::npos;
  });
}

VirtualDisplay::~VirtualDisplay() {
  Stop(wm_);
  Stop(server_);
  std::error_code error;
  if (!xorg_dir_.empty()) fs::remove_all(xorg_dir_, error);
}

CommandResult VirtualDisplay::Xdotool(const std::string& args) const {
  return Run(Env() + "xdotool " + args + " 2>/dev/null");
}

void VirtualDisplay::ClickAt(const std::string& id, int x, int y) const {
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  Xdotool("windowactivate --sync " + id);
  Xdotool("mousemove 0 0");
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  Xdotool("mousemove --window " + id + " " + std::to_string(x) + " " + std::to_string(y));
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  Xdotool("click 1");
}

std::string VirtualDisplay::FindWindow(const std::string& title_regex) const {
  std::string out = Xdotool("search --onlyvisible --name " + Quote(title_regex)).output;
  std::istringstream lines(out);
  std::string id;
  std::getline(lines, id);
  return id;
}

bool VirtualDisplay::WaitForWindow(const std::string& title_regex, std::string* id,
                                   std::chrono::milliseconds timeout) const {
  std::string found;
  const bool ok = WaitFor([&] { return !(found = FindWindow(title_regex)).empty(); }, timeout);
  if (id) *id = found;
  return ok;
}

Screenshot VirtualDisplay::Capture() const {
  Screenshot shot;
  const std::string size =
      Run(Env() + "xdpyinfo 2>/dev/null | awk '/dimensions:/{print $2; exit}'").output;
  if (std::sscanf(size.c_str(), "%dx%d", &shot.width, &shot.height) != 2) return {};
  CommandResult raw = Run("import -display " + name_ + " -window root -depth 8 rgb:- 2>/dev/null");
  if (raw.output.size() != static_cast<std::size_t>(shot.width) * shot.height * 3) return {};
  shot.rgb.assign(raw.output.begin(), raw.output.end());
  return shot;
}

bool VirtualDisplay::SavePng(const std::string& path) const {
  return Run("import -display " + name_ + " -window root " + Quote(path) + " 2>/dev/null").status ==
         0;
}

TestHome::TestHome() {
  std::string pattern = (fs::temp_directory_path() / "trelvin-e2e-XXXXXX").string();
  root_ = ::mkdtemp(pattern.data());
  for (const char* dir : {"config", "runtime", "data", "cache"})
    fs::create_directories(root_ / dir);
  fs::permissions(root_ / "runtime", fs::perms::owner_all);
}

TestHome::~TestHome() {
  std::error_code error;
  if (!std::getenv("TRELVIN_E2E_KEEP")) fs::remove_all(root_, error);
}

void TestHome::WriteConfig(const std::string& ini) const {
  fs::create_directories(ConfigFile().parent_path());
  std::ofstream(ConfigFile()) << ini;
}

std::string TestHome::ReadConfig() const {
  std::ifstream in(ConfigFile());
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

std::map<std::string, std::string> TestHome::Environment() const {
  return {{"HOME", root_.string()},
          {"XDG_CONFIG_HOME", (root_ / "config").string()},
          {"XDG_RUNTIME_DIR", (root_ / "runtime").string()},
          {"XDG_DATA_HOME", (root_ / "data").string()},
          {"XDG_CACHE_HOME", (root_ / "cache").string()},
          {"WINEPREFIX", (root_ / "wine").string()},
          {"TRELVIN_AUDIO_SINK", "fakesink sync=true"},
          {"QT_QPA_PLATFORM", "xcb"},
          {"LC_ALL", "C.UTF-8"}};
}

Program::Program(const VirtualDisplay& display, const TestHome& home,
                 const std::vector<std::string>& args, std::map<std::string, std::string> extra_env,
                 const std::string& executable) {
  std::map<std::string, std::string> env = home.Environment();
  env["DISPLAY"] = display.Name();
  for (auto& [key, value] : extra_env) env[key] = value;
  std::vector<std::string> argv{executable.empty() ? ExecutablePath() : executable};
  argv.insert(argv.end(), args.begin(), args.end());
  static int started = 0;
  log_ = (home.Root() / ("program-" + std::to_string(++started) + ".log")).string();
  pid_ = Spawn(argv, env, -1, log_);
}

void Program::ReportOutput(const std::string& why) const {
  std::ifstream in(log_, std::ios::binary);
  std::string text{std::istreambuf_iterator<char>(in), {}};
  if (text.size() > 8000) text = "...\n" + text.substr(text.size() - 8000);
  std::fprintf(stderr, "--- the program %s; what it printed:\n%s--- end\n", why.c_str(),
               text.c_str());
}

Program::~Program() {
  if (!reaped_) Stop(pid_);
}

bool Program::Running() {
  if (reaped_) return false;
  int status = 0;
  const pid_t r = ::waitpid(pid_, &status, WNOHANG);
  if (r == pid_) {
    reaped_ = true;
    status_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    if (status_ != 0) ReportOutput("ended with status " + std::to_string(status_));
    return false;
  }
  return true;
}

int Program::Wait(std::chrono::milliseconds timeout) {
  if (!WaitFor([&] { return !Running(); }, timeout)) {
    ReportOutput("did not end in time");
    return -1;
  }
  return status_;
}

std::string ExecutablePath() { return TRELVIN_EXE; }

fs::path InstallProgramCopy(const fs::path& dir) {
  fs::create_directories(dir);
  const fs::path build = fs::path(ExecutablePath()).parent_path();
  fs::copy_file(ExecutablePath(), dir / "trelvinshow", fs::copy_options::overwrite_existing);
  for (const auto& entry : fs::directory_iterator(build)) {
    if (entry.path().filename().string().rfind("libtrelvinjpeg.so", 0) == 0) {
      fs::copy(entry.path(), dir / entry.path().filename(),
               fs::copy_options::copy_symlinks | fs::copy_options::overwrite_existing);
    }
  }
  return dir / "trelvinshow";
}

std::vector<fs::path> CaptureFiles(const fs::path& dir) {
  std::vector<fs::path> found;
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(dir, error)) {
    if (std::regex_match(entry.path().filename().string(), std::regex(R"(\d{14}(-\d+)?\.jpg)")))
      found.push_back(entry.path());
  }
  std::sort(found.begin(), found.end());
  return found;
}

std::vector<fs::path> LeftBehind(const std::vector<fs::path>& seen) {
  std::this_thread::sleep_for(std::chrono::milliseconds(1500));
  std::vector<fs::path> left;
  for (const fs::path& path : seen) {
    if (fs::exists(path)) left.push_back(path);
  }
  return left;
}

long ProcStatusValue(pid_t pid, const std::string& field) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  std::string line;
  long value = -1;
  const std::string format = field + ": %ld";
  while (std::getline(status, line)) std::sscanf(line.c_str(), format.c_str(), &value);
  return value;
}

}  // namespace trelvin::e2e
