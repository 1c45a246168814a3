// Small Linux services: the instance lock, case-insensitive path resolution, the shell open.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include <QDir>
#include <QLockFile>

#include "os/linux/app/LinuxKnownPaths.h"
#include "os/linux/app/QtInstanceLock.h"
#include "os/linux/desktop/XdgShell.h"
#include "support/PosixFiles.h"

namespace trelvin {
namespace {

namespace fs = std::filesystem;

using test_support::TempDir;

// What a child process that takes the lock and ends without releasing it finds: 1 if another
// instance runs.
int ChildFindsAnotherInstance() {
  const pid_t child = ::fork();
  if (child == 0) {
    QtInstanceLock lock;
    ::_exit(lock.AnotherInstanceRunning() ? 1 : 0);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  return WEXITSTATUS(status);
}

TEST(QtInstanceLockTest, SecondHolderInAnotherProcessIsRefusedAndAStaleLockDoesNotCount) {
  TempDir runtime("trelvin-linux");
  ::setenv("XDG_RUNTIME_DIR", runtime.path().c_str(), 1);
  // The first child's lock is stale once it has ended.
  ASSERT_EQ(ChildFindsAnotherInstance(), 0);

  QtInstanceLock mine;
  EXPECT_FALSE(mine.AnotherInstanceRunning());
  EXPECT_FALSE(mine.AnotherInstanceRunning());  // asking again is not a second instance

  EXPECT_EQ(ChildFindsAnotherInstance(), 1);
}

// A lock file in a directory others may write into could be made first by another user, and the
// program would never start: neither the shared temporary directory nor a runtime directory set to
// a shared one counts; the lock lies in the user's own state directory, and still works.
TEST(QtInstanceLockTest, LockFilesAnotherUserCouldMakeFirstDoNotCount) {
  TempDir shared, state;
  ASSERT_EQ(::chmod(shared.path().c_str(), 01777), 0);
  ::setenv("XDG_STATE_HOME", state.path().c_str(), 1);
  int ready[2], done[2];
  ASSERT_TRUE(::pipe(ready) == 0 && ::pipe(done) == 0);
  const pid_t squatter = ::fork();
  if (squatter == 0) {
    QLockFile a(QString::fromStdString(shared.path() + "/trelvinshow.lock"));
    QLockFile b(QDir::tempPath() + "/trelvinshow-" + QString::number(::getuid()) + ".lock");
    (void)!::write(ready[1], a.tryLock(0) && b.tryLock(0) ? "y" : "n", 1);
    char c;
    (void)!::read(done[0], &c, 1);
    a.unlock(), b.unlock(), ::_exit(0);
  }
  char held = 0;
  ASSERT_TRUE(::read(ready[0], &held, 1) == 1 && held == 'y');
  for (const bool set : {true, false}) {
    set ? ::setenv("XDG_RUNTIME_DIR", shared.path().c_str(), 1) : ::unsetenv("XDG_RUNTIME_DIR");
    QtInstanceLock mine, second;
    EXPECT_FALSE(mine.AnotherInstanceRunning());
    EXPECT_TRUE(second.AnotherInstanceRunning());
  }
  (void)!::write(done[1], "x", 1);
  ::waitpid(squatter, nullptr, 0);
  for (int fd : {ready[0], ready[1], done[0], done[1]}) ::close(fd);
  ::unsetenv("XDG_STATE_HOME");
}

TEST(ResolveNoCaseTest, MatchesEachComponentIgnoringCase) {
  TempDir dir;
  fs::create_directories(dir.path() + "/DRIVE_C/program files/WINAMP");
  std::ofstream(dir.path() + "/DRIVE_C/program files/WINAMP/winamp.M3U") << "#EXTM3U\n";
  EXPECT_EQ(ResolveNoCase(dir.path(), {"drive_c", "Program Files", "Winamp", "WINAMP.m3u"}),
            dir.path() + "/DRIVE_C/program files/WINAMP/winamp.M3U");
  EXPECT_EQ(ResolveNoCase(dir.path(), {"drive_c", "Archivos de programa", "Winamp"}),
            dir.path() + "/DRIVE_C/Archivos de programa/Winamp");
}

TEST(XdgUserDirTest, ReadsTheUserDirsRulesWithTheirFallback) {
  const std::string dirs =
      "# written by xdg-user-dirs-update\n"
      "XDG_MUSIC_DIR=\"$HOME/Musik\"\n"
      "  XDG_PICTURES_DIR=\"/data/Bilder\\\"alt\\\"\"  \n"
      "XDG_VIDEOS_DIR=relative\n"
      "XDG_DESKTOP_DIR=\"$HOMEWORK/x\"\n";
  EXPECT_EQ(XdgUserDir(dirs, "MUSIC", "/home/u"), "/home/u/Musik");
  EXPECT_EQ(XdgUserDir(dirs, "PICTURES", "/home/u"), "/data/Bilder\"alt\"");
  EXPECT_EQ(XdgUserDir(dirs, "VIDEOS", "/home/u"), "/home/u/Videos");
  EXPECT_EQ(XdgUserDir(dirs, "DESKTOP", "/home/u"), "/home/u/Desktop");
  EXPECT_EQ(XdgUserDir("", "PICTURES", "/home/u"), "/home/u/Pictures");
}

TEST(XdgShellTest, StartsAnExecutableByBareNameInItsWorkingDirectoryAndOpensDocuments) {
  TempDir dir;
  const std::string script = dir.path() + "/VGS.EXE";
  std::ofstream(script) << "#!/bin/sh\npwd > started\n";
  fs::permissions(script, fs::perms::owner_all);
  XdgShell shell;
  ASSERT_TRUE(shell.StartProgram("VGS.EXE", dir.path(), kSwShowNormal));
  const std::string marker = dir.path() + "/started";
  for (int i = 0; i < 100 && !fs::exists(marker); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  std::ifstream in(marker);
  std::string cwd;
  std::getline(in, cwd);
  EXPECT_EQ(fs::canonical(cwd), fs::canonical(dir.path()));
  EXPECT_FALSE(shell.StartProgram("missing.exe", dir.path(), kSwShowNormal));
  EXPECT_FALSE(shell.ShellExecute("missing.exe", dir.path(), kSwShowNormal));
  EXPECT_FALSE(shell.ShellExecute("", "", kSwShowNormal));

  // On vfat or NTFS every file has its execute bit: a playlist there is still a document.
  const std::string bin = dir.path() + "/bin";
  fs::create_directories(bin);
  std::ofstream(bin + "/xdg-open")
      << "#!/bin/sh\nprintf '%s\\n' \"$1\" > " << dir.path() << "/opened\n";
  fs::permissions(bin + "/xdg-open", fs::perms::owner_all);
  const std::string playlist = dir.path() + "/WINAMP.m3u";
  std::ofstream(playlist) << "#!/bin/sh\ntouch " << dir.path() << "/ran\n";
  fs::permissions(playlist, fs::perms::owner_all);

  const std::string path = std::getenv("PATH");
  ::setenv("PATH", (bin + ":" + path).c_str(), 1);
  const bool started = shell.ShellExecute(playlist, "", kSwHide);
  ::setenv("PATH", path.c_str(), 1);
  ASSERT_TRUE(started);
  const std::string opened = dir.path() + "/opened";
  for (int i = 0; i < 250; ++i) {
    std::error_code error;
    const auto size = fs::file_size(opened, error);
    if (!error && size > 0) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  std::ifstream opened_in(opened);
  std::string line;
  std::getline(opened_in, line);
  EXPECT_EQ(line, playlist);
  EXPECT_FALSE(fs::exists(dir.path() + "/ran"));
}

// Without XDG_RUNTIME_DIR the lock lives in the shared temporary directory; another user's running
// program there must not end this user's.
TEST(QtInstanceLockTest, AnotherUsersInstanceDoesNotCountWithoutARuntimeDirectory) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs to start a process as another user";
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  const std::string saved = runtime ? runtime : "";
  ::unsetenv("XDG_RUNTIME_DIR");
  int ready[2], done[2];
  ASSERT_EQ(::pipe(ready), 0);
  ASSERT_EQ(::pipe(done), 0);
  const pid_t other = ::fork();
  if (other == 0) {
    // The user "nobody" holds its lock until told to end.
    if (::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(2);
    QtInstanceLock lock;
    const char held = lock.AnotherInstanceRunning() ? 'n' : 'y';
    (void)!::write(ready[1], &held, 1);
    char c;
    (void)!::read(done[0], &c, 1);
    ::_exit(0);
  }
  char held = 0;
  ASSERT_EQ(::read(ready[0], &held, 1), 1);
  EXPECT_EQ(held, 'y');
  {
    QtInstanceLock mine;
    EXPECT_FALSE(mine.AnotherInstanceRunning());
  }
  (void)!::write(done[1], "x", 1);
  int status = 0;
  ::waitpid(other, &status, 0);
  for (int fd : {ready[0], ready[1], done[0], done[1]}) ::close(fd);
  if (!saved.empty()) ::setenv("XDG_RUNTIME_DIR", saved.c_str(), 1);
}

}  // namespace
}  // namespace trelvin
