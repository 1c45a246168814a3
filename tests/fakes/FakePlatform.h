#pragma once

// Ideal platform services for the core tests, each with switches that make a step fail.
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "core/runtime/FormEvents.h"
#include "core/services/Services.h"
#include "fakes/FakeFileLock.h"
#include "fakes/FakeVideoMaker.h"
#include "fakes/NativePath.h"

namespace trelvin::fakes {

// An ideal window runtime, as a null video output is: no windows, but every event goes through
// the form's FormEvents, so the runtime's rules (ticks, keys, loading) hold as on a display.
class FakeRuntime : public WindowRuntime {
 public:
  Size ScreenSize() const override { return screen; }
  // Loads the form, runs `modal_script` (the user's actions while it is open) and unloads it if
  // the script left it open.
  void ShowModal(Form& form, Form& owner) override;
  void EndAtOnce() override { ++end_at_once; }
  // The events of `form` while it is shown (made on first use for a form shown otherwise): the
  // tests send ticks, keys and clicks through them.
  FormEvents& Events(Form& form);

  Size screen{1024, 768};
  std::function<void(Form&)> modal_script;
  int modal_shows = 0;
  int end_at_once = 0;
  std::vector<const Form*> modal_owners;

 private:
  std::map<const Form*, std::unique_ptr<FormEvents>> events_;
};

class FakeSettingsStore : public SettingsStore {
 public:
  std::optional<std::string> ReadSetting(const std::string& app, const std::string& section,
                                         const std::string& key,
                                         const std::string& default_value) override;
  bool WriteSetting(const std::string& app, const std::string& section, const std::string& key,
                    const std::string& value) override;
  bool Save() override {
    saves.push_back(writes.size());
    return !save_fails;
  }

  std::map<std::string, std::string> values;  // by key (application and section checked apart)
  bool read_fails = false;
  std::set<std::string> failing_keys;
  std::vector<std::pair<std::string, std::string>> writes;  // in order
  std::vector<std::string> reads;                           // keys, in order
  bool wrong_place = false;  // set when a call used another application or section
  bool save_fails = false;
  std::vector<std::size_t> saves;  // for each save, how many writes had been made before it
};

class FakeFileSystem : public FileSystem {
 public:
  std::optional<std::int64_t> FileLength(const std::string& path) override;
  bool DeleteFile(const std::string& path) override;
  bool CopyFile(const std::string& from, const std::string& to) override;
  bool WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes) override;
  // Logged and failing like WriteFile.
  bool WriteFileChunks(const std::string& path,
                       const std::function<std::span<const std::uint8_t>()>& next) override;
  std::vector<std::string> FindFiles(const std::string& directory, const std::string& pattern,
                                     std::size_t limit) override;
  std::string ExecutableDirectory() override { return exe_dir; }
  bool CanWriteDirectory(const std::string& directory) override {
    return !unwritable_dirs.count(directory);
  }
  // Records the directory.
  bool CreateDirectories(const std::string& directory) override;
  bool AppendToFile(const std::string& path, const std::string& text) override;
  bool RenameFile(const std::string& from, const std::string& to) override;

  // Adds a file (listing order is the order of adding); directories are implied by paths.
  void Add(const std::string& path, std::vector<std::uint8_t> bytes = {1});
  bool Has(const std::string& path) const { return files.count(path) > 0; }

  std::map<std::string, std::vector<std::uint8_t>> files;
  std::vector<std::string> order;        // listing order
  std::set<std::string> hidden_or_dirs;  // names the listing must leave out, by full path
  std::set<std::string> undeletable;
  std::set<std::string> unwritable_dirs;  // writes into these directories fail
  bool length_fails = false;
  bool rename_fails = false;
  std::vector<std::string> created_dirs;
  std::string exe_dir = NativePath("/opt/trelvin");
  std::vector<std::string> log;       // "delete PATH", "write PATH", "copy A B"
  std::vector<std::string> searches;  // "DIRECTORY PATTERN", in order
  // Shared step log, when set: the entries of `log`, and "length PATH" for every length query.
  std::vector<std::string>* step_log = nullptr;
};

class FakeClock : public Clock {
 public:
  LocalDateTime Now() override { return now; }
  double SecondsSinceMidnight() override { return seconds_since_midnight; }
  LocalDateTime now{2026, 12, 7, 13, 5, 9};
  double seconds_since_midnight = 47109.25;
};

class FakeRandom : public Random {
 public:
  void Seed(double seed) override { seeds.push_back(seed); }
  float Next() override;
  std::deque<float> values;  // handed out in order; then `fallback`
  float fallback = 0.0f;
  std::vector<double> seeds;
};

class FakeShell : public Shell {
 public:
  struct Call {
    std::string target, working_directory;
    int show_command;
    bool program = false;  // through StartProgram: a program file may run
  };
  bool ShellExecute(const std::string& target, const std::string& working_directory,
                    int show_command) override {
    calls.push_back({target, working_directory, show_command});
    return result;
  }
  bool StartProgram(const std::string& path, const std::string& working_directory,
                    int show_command) override {
    calls.push_back({path, working_directory, show_command, true});
    return result;
  }
  std::vector<Call> calls;
  bool result = true;
};

class FakeInstanceLock : public InstanceLock {
 public:
  bool AnotherInstanceRunning() override { return another; }
  bool another = false;
};

class FakeFolderDialog : public FolderDialog {
 public:
  std::string BrowseForFolder(const Form& owner, const std::string& title) override {
    owners.push_back(&owner);
    titles.push_back(title);
    return result;
  }
  std::string result;
  std::vector<const Form*> owners;
  std::vector<std::string> titles;
};

class FakeKnownPaths : public KnownPaths {
 public:
  std::vector<std::string> WinampPlaylistCandidates() override { return playlists; }
  std::string WallpaperBitmapPath() override { return wallpaper_bitmap; }
  std::string PicturesDirectory() override { return pictures; }
  std::string MusicDirectory() override { return music; }
  std::string FailureLogPath() override { return failure_log; }
  std::vector<std::string> playlists{
      NativePath("/wine/drive_c/Program Files/Winamp/WINAMP.m3u"),
      NativePath("/wine/drive_c/Archivos de programa/Winamp/WINAMP.m3u")};
  std::string wallpaper_bitmap = NativePath("/home/u/.local/share/Trelvin/wallpaper.bmp");
  std::string pictures = NativePath("/home/u/Pictures");
  std::string music = NativePath("/home/u/Music");
  std::string failure_log = NativePath("/home/u/.local/state/Trelvin/trelvin.log");
};

class FakeLocale : public Locale {
 public:
  std::string DecimalSeparator() override { return separator; }
  std::string separator = ".";
};

class FakeScreenGrab : public ScreenGrab {
 public:
  std::unique_ptr<GrabSession> OpenDesktop() override;
  void BeginSession() override;
  void EndSession() override;
  std::string Problem() override { return problem; }
  // The desktop's pixels: pixel(x, y).
  std::function<std::uint32_t(int, int)> pixel = [](int x, int y) {
    return static_cast<std::uint32_t>((x * 7 + y * 13) & 0xFFFFFF);
  };
  bool open_fails = false;
  bool copy_fails = false;
  // Sessions offer a look at the pixels before the copy (Peek), with junk in the unused top byte,
  // as the X11 and GDI grabs do.
  bool peeks = false;
  std::string problem;  // what Problem() says
  int opened = 0;
  int released = 0;
  int begun = 0;  // BeginSession calls
  int ended = 0;  // EndSession calls
  // Between a BeginSession and its EndSession; OpenDesktop fails outside one when
  // `needs_session` is set, as a grab behind a desktop permission does.
  bool in_session = false;
  bool needs_session = false;
  std::vector<std::string>* log = nullptr;  // shared step log, when set
};

class FakeJpegConverter : public JpegConverter {
 public:
  explicit FakeJpegConverter(FakeFileSystem& files) : files_(files) {}
  // Writes a JPEG of a few bytes when the BMP exists, unless told to fail.
  int BmpToJpeg(const std::string& bmp_path, const std::string& jpeg_path,
                std::int16_t level) override;
  struct Call {
    std::string bmp, jpeg;
    std::int16_t level;
  };
  std::vector<Call> calls;
  bool writes_nothing = false;
  bool writes_empty = false;
  std::vector<std::string>* log = nullptr;

 private:
  FakeFileSystem& files_;
};

// Answers by a table of command texts, records every command with its callback window.
class FakeMediaControl : public MediaControl {
 public:
  std::uint32_t mciSendString(const std::string& command, WindowHandle callback) override;
  // Records like the above and answers with the text of `replies` (empty when missing).
  std::uint32_t mciSendString(const std::string& command, std::string* reply,
                              WindowHandle callback) override;
  std::vector<std::string> commands;
  std::vector<WindowHandle> callbacks;
  std::map<std::string, std::uint32_t> results;  // by exact command text; missing means 0
  std::function<std::uint32_t(const std::string&)> responder;  // overrides `results` when set
  std::map<std::string, std::string> replies;                  // reply texts by exact command text
  // The songs each "open ... alias MUSIC" since command `from` named, without their folders.
  std::vector<std::string> OpenedSongs(std::size_t from = 0) const;
};

class FakePicture : public Picture {
 public:
  explicit FakePicture(Size size, std::string path = "") : size_(size), path_(std::move(path)) {}
  Size PixelSize() const override { return size_; }
  const std::string& Path() const { return path_; }

 private:
  Size size_;
  std::string path_;
};

class FakePictures : public Pictures {
 public:
  std::shared_ptr<const Picture> LoadPicture(const std::string& path, Size display_size) override;
  void PreparePicture(const std::string& path, Size display_size) override {
    prepared.emplace_back(path, display_size);
  }
  void DropPreparedPicture() override { ++drops; }
  bool SavePicture(const Picture& picture, const std::string& path) override;
  std::map<std::string, Size> sizes;                   // loadable pictures by path
  std::vector<std::pair<std::string, Size>> prepared;  // as asked for, in order
  int drops = 0;
  std::vector<std::string> loads;
  std::vector<Size> display_sizes;  // as asked for with each load
  std::vector<std::pair<const Picture*, std::string>> saves;
  bool save_fails = false;
  std::function<void(const std::string&)> on_load;  // called with each path before it loads
};

class FakePrinter : public Printer {
 public:
  std::optional<Size> PageSize() override { return page; }
  bool PaintPicture(const Picture& picture, int x, int y) override;
  bool EndDoc() override {
    ++end_docs;
    return true;
  }
  std::optional<Size> page = Size{12240, 15840};  // letter, in 1/1440 inch
  struct Paint {
    const Picture* picture;
    int x, y;
  };
  std::vector<Paint> paints;
  int end_docs = 0;
};

class FakeCursor : public Cursor {
 public:
  int ShowCursor(bool show) override {
    log.push_back(show);
    return counter += show ? 1 : -1;
  }
  int counter = 0;
  std::vector<bool> log;
};

class FakeMessageBox : public MessageBox {
 public:
  explicit FakeMessageBox(FakeCursor& cursor) : cursor_(cursor) {}
  int MsgBox(const std::string& text, int style, const std::string& caption) override;
  struct Shown {
    std::string text;
    int style;
    std::string caption;
    int cursor_counter;  // the pointer's show counter while the box was open
  };
  std::vector<Shown> shown;
  std::deque<int> answers;  // then kIdNo
  std::function<void()> while_open;

 private:
  FakeCursor& cursor_;
};

class FakeWallpaper : public Wallpaper {
 public:
  bool SetDeskWallpaper(const std::string& path) override {
    paths.push_back(path);
    return result;
  }
  std::vector<std::string> paths;
  bool result = true;
};

class FakeWindowActivation : public WindowActivation {
 public:
  bool ActivateWindow(const std::string& title) override;
  bool SendEnter() override {
    if (log) log->push_back("enter");
    ++enters;
    return true;
  }
  std::vector<std::string> titles;  // the top-level windows
  std::string active;
  int enters = 0;
  bool activation_fails = false;
  std::vector<std::string>* log = nullptr;
};

class FakeScreenSaverLock : public ScreenSaverLock {
 public:
  bool PasswordOnResume() override { return password_on_resume; }
  bool password_on_resume = false;
};

class FakeNotifications : public Notifications {
 public:
  bool Notify(const std::string& summary, const std::string& body) override {
    shown.push_back({summary, body});
    return !fails;
  }
  bool NotifyWithAction(const std::string& summary, const std::string& body,
                        const std::string& action, std::function<void()> on_action) override {
    actions.push_back({action, std::move(on_action)});
    return Notify(summary, body);
  }
  std::vector<std::pair<std::string, std::string>> shown;  // summary and body, in order
  // The action of each notice that had one, in order: its name and what taking it does.
  std::vector<std::pair<std::string, std::function<void()>>> actions;
  bool fails = false;
};

// All fakes together, with the Services the forms take.
struct FakePlatform {
  FakePlatform() : services(With()) {}
  // The services with the given real ones in place of their fakes.
  Services With(FileSystem* real_files = nullptr, MediaControl* real_media = nullptr,
                Notifications* real_notifications = nullptr);
  FakeRuntime runtime;
  FakeSettingsStore settings;
  FakeFileSystem files;
  FakeClock clock;
  FakeRandom random;
  FakeShell shell;
  FakeInstanceLock instance;
  FakeFolderDialog folder_dialog;
  FakeKnownPaths known_paths;
  FakeLocale locale;
  FakeScreenGrab screen_grab;
  FakeJpegConverter jpeg{files};
  FakeMediaControl media;
  FakePictures pictures;
  FakePrinter printer;
  FakeCursor cursor;
  FakeMessageBox message_box{cursor};
  FakeWallpaper wallpaper;
  FakeWindowActivation windows;
  FakeScreenSaverLock saver_lock;
  FakeNotifications notifications;
  FakeVideoMaker video;
  Services services;
};

}  // namespace trelvin::fakes
