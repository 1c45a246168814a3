#include "e2e/GnomeSession.h"

#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <regex>
#include <sstream>

namespace trelvin::e2e {

namespace fs = std::filesystem;

namespace {

constexpr uid_t kUser = 65534;  // nobody: mutter refuses to run as root

const char* const kNeeded[] = {
    "/usr/bin/mutter",
    "/usr/bin/pipewire",
    "/usr/bin/wireplumber",
    "/usr/bin/dbus-daemon",
    "/usr/bin/dbus-send",
    "/usr/bin/gdbus",
    "/usr/bin/pw-cli",
    "/usr/libexec/xdg-desktop-portal",
    "/usr/libexec/xdg-desktop-portal-gnome",
    "/usr/libexec/xdg-permission-store",
    "/usr/lib/x86_64-linux-gnu/gstreamer-1.0/libgstpipewire.so",
    "/usr/lib/x86_64-linux-gnu/qt6/plugins/platforms/libqwayland-generic.so",
};

std::string ScriptPath() {
  return std::string(TRELVIN_SOURCE_DIR) + "/tests/e2e/wayland/gnome-session.sh";
}

}  // namespace

GnomeSession::GnomeSession(int width, int height) {
  for (const char* path : kNeeded) {
    if (!fs::exists(path)) {
      problem_ = std::string(path) + " is missing (scripts/setup.sh installs it)";
      return;
    }
  }
  as_root_ = geteuid() == 0;
  if (as_root_ && !fs::exists("/usr/bin/setpriv")) {
    problem_ = "setpriv is missing: mutter cannot run as root";
    return;
  }
  std::string pattern = (fs::temp_directory_path() / "trelvin-gnome-XXXXXX").string();
  if (!::mkdtemp(pattern.data())) {
    problem_ = "no temporary folder";
    return;
  }
  root_ = pattern;
  home_ = root_ / "home";
  run_ = root_ / "run";
  fs::create_directories(home_);
  fs::create_directories(run_);
  fs::create_directories(Scratch());
  fs::permissions(root_, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                             fs::perms::others_read | fs::perms::others_exec);
  ::chmod(run_.c_str(), 0700);
  GiveToUser(root_);

  // The session's own process group, ended as a whole; not one of the spawned programs.
  env_ = {{"HOME", home_.string()}, {"XDG_RUNTIME_DIR", run_.string()}, {"PATH", "/usr/bin:/bin"}};
  session_ = Spawn({"/bin/sh", ScriptPath(), std::to_string(width) + "x" + std::to_string(height)},
                   {}, root_ / "session.out");
  spawned_.clear();
  const fs::path ready = run_ / "session.env";
  if (!WaitFor([&] { return fs::exists(ready); }, std::chrono::seconds(40))) {
    problem_ = "the headless GNOME desktop did not come up:\n" + LogTail();
    return;
  }
  std::ifstream in(ready);
  for (std::string line; std::getline(in, line);) {
    const auto eq = line.find('=');
    if (eq != std::string::npos) env_[line.substr(0, eq)] = line.substr(eq + 1);
  }
  env_["HOME"] = home_.string();
  env_["XDG_RUNTIME_DIR"] = run_.string();
  env_["PATH"] = "/usr/bin:/bin";
}

GnomeSession::~GnomeSession() {
  for (pid_t pid : spawned_) Stop(pid);
  if (session_ > 0) {
    ::kill(-session_, SIGTERM);
    // Everything in the group goes; mutter and PipeWire end within a second when asked.
    bool reaped = false;
    const auto gone = [&] {
      if (!reaped) reaped = ::waitpid(session_, nullptr, WNOHANG) == session_;
      return reaped && ::kill(-session_, 0) != 0;
    };
    if (!WaitFor(gone, std::chrono::seconds(5))) ::kill(-session_, SIGKILL);
    if (!reaped) ::waitpid(session_, nullptr, 0);
  }
  if (!root_.empty()) {
    std::error_code error;
    fs::remove_all(root_, error);
  }
}

void GnomeSession::GiveToUser(const fs::path& path) const {
  if (!as_root_) return;
  ::chown(path.c_str(), kUser, kUser);
  if (!fs::is_directory(path)) return;
  for (const auto& entry : fs::recursive_directory_iterator(path)) {
    ::lchown(entry.path().c_str(), kUser, kUser);
  }
}

std::string GnomeSession::UserPrefix() const {
  std::string prefix = as_root_ ? "setpriv --reuid=65534 --regid=65534 --clear-groups " : "";
  prefix += "env -i";
  for (const auto& [name, value] : env_) prefix += " " + name + "=" + Quote(value);
  return prefix + " ";
}

CommandResult GnomeSession::RunAsUser(const std::string& command) const {
  return Run(UserPrefix() + "sh -c " + Quote(command) + " 2>&1");
}

pid_t GnomeSession::Spawn(const std::vector<std::string>& argv,
                          const std::map<std::string, std::string>& env, const fs::path& log) {
  std::vector<std::string> args;
  if (as_root_) args = {"/usr/bin/setpriv", "--reuid=65534", "--regid=65534", "--clear-groups"};
  args.push_back("/usr/bin/env");
  args.push_back("-i");
  std::map<std::string, std::string> all = env_;
  for (const auto& [name, value] : env) all[name] = value;
  for (const auto& [name, value] : all) args.push_back(name + "=" + value);
  args.insert(args.end(), argv.begin(), argv.end());
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::setsid();
    std::freopen(log.c_str(), "w", stdout);
    std::freopen(log.c_str(), "a", stderr);
    std::vector<char*> raw;
    for (std::string& a : args) raw.push_back(a.data());
    raw.push_back(nullptr);
    ::execv(raw[0], raw.data());
    ::_exit(127);
  }
  if (pid > 0) spawned_.push_back(pid);
  return pid;
}

void GnomeSession::Stop(pid_t pid) {
  if (::waitpid(pid, nullptr, WNOHANG) != 0) return;
  ::kill(pid, SIGTERM);
  int status = 0;
  if (!WaitFor([&] { return ::waitpid(pid, &status, WNOHANG) != 0; }, std::chrono::seconds(5))) {
    ::kill(pid, SIGKILL);
    ::waitpid(pid, &status, 0);
  }
}

std::string GnomeSession::MonitorMatch() const {
  const CommandResult state = RunAsUser(
      "gdbus call --session --dest org.gnome.Mutter.DisplayConfig --object-path "
      "/org/gnome/Mutter/DisplayConfig --method org.gnome.Mutter.DisplayConfig.GetCurrentState");
  // The first monitor's (connector, vendor, product, serial).
  static const std::regex kMonitor(R"(\[\(\('[^']*', '([^']*)', '([^']*)', '([^']*)'\))");
  std::smatch m;
  if (state.status != 0 || !std::regex_search(state.output, m, kMonitor)) return "";
  return m[1].str() + ":" + m[2].str() + ":" + m[3].str();
}

bool GnomeSession::SeedRestoreToken(const std::string& token) const {
  const std::string match = MonitorMatch();
  if (match.empty()) return false;
  const std::string store =
      "gdbus call --session --dest org.freedesktop.impl.portal.PermissionStore --object-path "
      "/org/freedesktop/impl/portal/PermissionStore --method "
      "org.freedesktop.impl.portal.PermissionStore.";
  const long long now = std::chrono::duration_cast<std::chrono::microseconds>(
                            std::chrono::system_clock::now().time_since_epoch())
                            .count();
  // The state "Remember this selection" leaves (xdg-desktop-portal 1.16 with the GNOME back end
  // 43): the permission, and the GNOME data naming the monitor.
  const std::string value = "<('GNOME', uint32 1, <(int64 " + std::to_string(now) + ", int64 " +
                            std::to_string(now) + ", [(uint32 0, uint32 1, <'" + match + "'>)])>)>";
  return RunAsUser(store + "SetPermission screencast true " + token + " '' \"['yes']\"").status ==
             0 &&
         RunAsUser(store + "SetValue screencast true " + token + " " + Quote(value)).status == 0;
}

void GnomeSession::EndScreenCasts() {
  std::ifstream in(run_ / "portal-gnome.pid");
  pid_t pid = -1;
  if (in >> pid && pid > 0) ::kill(pid, SIGTERM);
}

std::string GnomeSession::LogTail() const {
  std::string text;
  for (const fs::path& path : {root_ / "session.out", run_ / "session.log"}) {
    std::ifstream in(path);
    std::stringstream all;
    all << in.rdbuf();
    std::string s = all.str();
    if (s.size() > 3000) s = s.substr(s.size() - 3000);
    text += s;
  }
  return text;
}

}  // namespace trelvin::e2e
