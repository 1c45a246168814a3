#pragma once

// A headless GNOME screen-cast desktop of the test's own (mutter with a virtual monitor,
// PipeWire, WirePlumber, the portal and its GNOME back end, on a private session bus), run as an
// unprivileged user with its own HOME and XDG_RUNTIME_DIR. Everything it starts ends with it.
#include <sys/types.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "e2e/Harness.h"

namespace trelvin::e2e {

class GnomeSession {
 public:
  // Starts the desktop with one virtual monitor of the given size.
  GnomeSession(int width, int height);
  ~GnomeSession();
  GnomeSession(const GnomeSession&) = delete;
  GnomeSession& operator=(const GnomeSession&) = delete;

  bool ok() const { return problem_.empty(); }
  // Why the desktop cannot run here (a missing package, a compositor that would not start).
  const std::string& Problem() const { return problem_; }

  // The user's home; files made in it belong to the user.
  const std::filesystem::path& Home() const { return home_; }
  // A folder the user may write in, outside the home.
  std::filesystem::path Scratch() const { return root_ / "scratch"; }
  // Makes `path` (and everything under it) the user's.
  void GiveToUser(const std::filesystem::path& path) const;

  // Runs a shell command as the user, inside the session; its status and output.
  CommandResult RunAsUser(const std::string& command) const;
  // Starts a program as the user inside the session (its own process group), its output going
  // to `log`; the pid. Ended with the session at the latest.
  pid_t Spawn(const std::vector<std::string>& argv, const std::map<std::string, std::string>& env,
              const std::filesystem::path& log);
  // Ends a program started by Spawn and waits for it.
  void Stop(pid_t pid);

  // The monitor's match string as the GNOME portal stores it ("VENDOR:PRODUCT:SERIAL").
  std::string MonitorMatch() const;
  // Puts `token` into the permission store as "Remember this selection" would, for the monitor.
  bool SeedRestoreToken(const std::string& token) const;
  // Ends the portal's GNOME back end: mutter then ends every screen cast it asked for, as when
  // the user stops sharing.
  void EndScreenCasts();
  // The last lines the desktop's processes printed.
  std::string LogTail() const;

 private:
  std::string UserPrefix() const;

  std::filesystem::path root_;
  std::filesystem::path home_;
  std::filesystem::path run_;
  std::map<std::string, std::string> env_;
  pid_t session_ = -1;
  std::vector<pid_t> spawned_;
  bool as_root_ = false;
  std::string problem_;
};

}  // namespace trelvin::e2e
