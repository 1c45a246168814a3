// The small Windows services on the real system: the instance lock across processes, the path
// rules with "\" and drive roots, the command line, the known paths.
#include <string>

#include <gtest/gtest.h>

#include "os/windows/ChildRoles.h"
#include "os/windows/WinApi.h"
#include "os/windows/WinText.h"
#include "os/windows/app/WinCommandLine.h"
#include "os/windows/app/WinInstanceLock.h"
#include "os/windows/app/WinKnownPaths.h"
#include "os/windows/app/WinPaths.h"
#include "os/windows/desktop/WinShell.h"

#include <sddl.h>

namespace trelvin {
namespace {

TEST(WinInstanceLockTest, OneLockPerUserWhateverTheExecutable) {
  // The probe runs this program again, as another executable would: same user, same lock.
  const std::wstring probe = Widen(kInstanceProbe);
  EXPECT_EQ(RunSelf(probe).exit_code, kExitFirst);  // nothing runs yet
  {
    WinInstanceLock first;
    ASSERT_FALSE(first.AnotherInstanceRunning());
    EXPECT_FALSE(first.AnotherInstanceRunning());  // asking again does not find itself
    EXPECT_EQ(RunSelf(probe).exit_code, kExitAnotherRuns);
  }
  // Once the first has ended, the next start is the first again.
  EXPECT_EQ(RunSelf(probe).exit_code, kExitFirst);
  // Keyed by the user's SID, in the session's namespace, with no further "\".
  const std::wstring name = WinInstanceLock::MutexNameForUser();
  EXPECT_EQ(name.rfind(L"Local\\TrelvinShow-S-1-", 0), 0u);
  EXPECT_EQ(name.find(L'\\', 6), std::wstring::npos);
}

// A mutex of the lock's name that another user made first, which this one may not open, does not
// keep the program from ever starting.
TEST(WinInstanceLockTest, AMutexAnotherMadeFirstDoesNotCount) {
  SECURITY_ATTRIBUTES closed{sizeof closed, nullptr, FALSE};
  ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(
      L"D:P", SDDL_REVISION_1, &closed.lpSecurityDescriptor, nullptr));
  HANDLE squatted = CreateMutexW(&closed, FALSE, L"Local\\TrelvinShowSquatted");
  ASSERT_NE(squatted, nullptr);
  EXPECT_FALSE(WinInstanceLock(L"Local\\TrelvinShowSquatted").AnotherInstanceRunning());
  CloseHandle(squatted);
  LocalFree(closed.lpSecurityDescriptor);
}

TEST(WinPathsTest, DirectoryOfAnExecutableKeepsOnlyARootsSeparator) {
  EXPECT_EQ(DirectoryOfPath(L"C:\\Tools\\TrelvinShow.exe"), L"C:\\Tools");
  EXPECT_EQ(DirectoryOfPath(L"C:\\TrelvinShow.exe"), L"C:\\");
  EXPECT_EQ(DirectoryOfPath(L"D:\\Games\\Old Stuff\\x.scr"), L"D:\\Games\\Old Stuff");
  EXPECT_EQ(DirectoryOfPath(L"\\\\server\\share\\TrelvinShow.exe"), L"\\\\server\\share\\");
  EXPECT_EQ(DirectoryOfPath(L"\\\\server\\share\\dir\\TrelvinShow.exe"), L"\\\\server\\share\\dir");
}

// The separator and the program's directory: tests/conformance/file_system_test.cpp; the path
// rules with the backslash: tests/core/base/path_rules_test.cpp.
TEST(WinCommandLineTest, ArgumentTextFollowsTheProgramNameAndItsBlanksAsTheStarterPassedIt) {
  EXPECT_EQ(ArgumentTextOf(L"\"C:\\Program Files\\T\\TrelvinShow.exe\" /c"), L"/c");
  EXPECT_EQ(ArgumentTextOf(L"TrelvinShow.exe /p 1234"), L"/p 1234");
  EXPECT_EQ(ArgumentTextOf(L"\"C:\\WINDOWS\\TRELVI~1.SCR\"  \t/s"), L"/s");
  EXPECT_EQ(ArgumentTextOf(L"C:\\x\\TrelvinShow.scr /c:1234"), L"/c:1234");
  EXPECT_EQ(ArgumentTextOf(L"TrelvinShow.exe"), L"");
  EXPECT_EQ(ArgumentTextOf(L"\"C:\\a b\\TrelvinShow.exe\""), L"");
  EXPECT_EQ(ArgumentTextOf(L""), L"");
  EXPECT_EQ(ArgumentTextOf(L"\"unclosed /c"), L"");
  // Blanks inside and at the end of the arguments stay as they were typed.
  EXPECT_EQ(ArgumentTextOf(L"x.exe /s  a  "), L"/s  a  ");
  // The process's own argument text is what the starter passed.
  const ChildResult child = RunSelf(std::wstring(Widen(kPrintArguments)) + L"   /P  Ü 1234");
  EXPECT_EQ(child.exit_code, 0);
  EXPECT_EQ(child.output, std::string(kPrintArguments) + "   /P  Ü 1234");
}

TEST(WinKnownPathsTest, PlaylistShortFormsFirstThenTheLongFormsAndTheWallpaperInLocalAppData) {
  WinKnownPaths paths;
  EXPECT_EQ(paths.WinampPlaylistCandidates(),
            (std::vector<std::string>{"c:\\progra~1\\winamp\\WINAMP.m3u",
                                      "c:\\archiv~1\\winamp\\WINAMP.m3u",
                                      "C:\\Program Files\\Winamp\\WINAMP.m3u",
                                      "C:\\Archivos de programa\\Winamp\\WINAMP.m3u"}));
  // The wallpaper lies in the user's local application data.
  const std::string path = paths.WallpaperBitmapPath();
  wchar_t local[MAX_PATH] = {};
  ASSERT_GT(GetEnvironmentVariableW(L"LOCALAPPDATA", local, MAX_PATH), 0u);
  EXPECT_EQ(Widen(path), std::wstring(local) + L"\\Trelvin\\wallpaper.bmp");
  const DWORD attributes = GetFileAttributesW((std::wstring(local) + L"\\Trelvin").c_str());
  ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES);  // the folder is made when missing
  EXPECT_TRUE(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

TEST(WinShellTest, NothingToOpenIsAFailure) {
  WinShell shell;
  EXPECT_FALSE(shell.ShellExecute("", "", kSwShowNormal));
  EXPECT_FALSE(shell.ShellExecute("C:\\no such folder\\no such page.html", "", kSwShowNormal));
}

}  // namespace
}  // namespace trelvin
