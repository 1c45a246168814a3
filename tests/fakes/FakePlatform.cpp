#include "fakes/FakePlatform.h"

#include <algorithm>

#include "core/base/PatternMatch.h"
#include "os/common/TitleMatch.h"

namespace trelvin::fakes {

namespace {

std::string DirOf(const std::string& path) {
  const auto slash = path.rfind(kPathSeparator);
  return slash == std::string::npos ? "" : path.substr(0, slash + 1);
}

}  // namespace

void FakeRuntime::ShowModal(Form& form, Form& owner) {
  ++modal_shows;
  modal_owners.push_back(&owner);
  FormEvents& events = Events(form);
  events.Load();
  if (form.Loaded() && modal_script) modal_script(form);
  if (form.Loaded()) events.Unload();
  // The window is gone with the modal loop; its events go with it.
  events_.erase(&form);
}

FormEvents& FakeRuntime::Events(Form& form) {
  auto& events = events_[&form];
  if (!events) events = std::make_unique<FormEvents>(form);
  return *events;
}

std::optional<std::string> FakeSettingsStore::ReadSetting(const std::string& app,
                                                          const std::string& section,
                                                          const std::string& key,
                                                          const std::string& default_value) {
  if (app != "Trelvin" || section != "Settings") wrong_place = true;
  reads.push_back(key);
  if (read_fails || failing_keys.count(key)) return std::nullopt;
  auto it = values.find(key);
  return it == values.end() ? default_value : it->second;
}

bool FakeSettingsStore::WriteSetting(const std::string& app, const std::string& section,
                                     const std::string& key, const std::string& value) {
  if (app != "Trelvin" || section != "Settings") wrong_place = true;
  if (failing_keys.count(key)) return false;
  writes.emplace_back(key, value);
  values[key] = value;
  return true;
}

std::optional<std::int64_t> FakeFileSystem::FileLength(const std::string& path) {
  if (step_log) step_log->push_back("length " + path);
  if (length_fails) return std::nullopt;
  auto it = files.find(path);
  if (it == files.end()) return std::nullopt;
  return static_cast<std::int64_t>(it->second.size());
}

bool FakeFileSystem::DeleteFile(const std::string& path) {
  log.push_back("delete " + path);
  if (step_log) step_log->push_back(log.back());
  if (undeletable.count(path) || !files.count(path)) return false;
  files.erase(path);
  order.erase(std::remove(order.begin(), order.end(), path), order.end());
  return true;
}

bool FakeFileSystem::CopyFile(const std::string& from, const std::string& to) {
  log.push_back("copy " + from + " " + to);
  if (step_log) step_log->push_back(log.back());
  if (from == to || !files.count(from) || unwritable_dirs.count(DirOf(to))) return false;
  const auto bytes = files[from];
  Add(to, bytes);
  return true;
}

bool FakeFileSystem::WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  log.push_back("write " + path);
  if (step_log) step_log->push_back(log.back());
  if (unwritable_dirs.count(DirOf(path))) return false;
  Add(path, bytes);
  return true;
}

bool FakeFileSystem::WriteFileChunks(const std::string& path,
                                     const std::function<std::span<const std::uint8_t>()>& next) {
  std::vector<std::uint8_t> bytes;
  for (auto chunk = next(); !chunk.empty(); chunk = next()) {
    bytes.insert(bytes.end(), chunk.begin(), chunk.end());
  }
  return WriteFile(path, bytes);
}

std::vector<std::string> FakeFileSystem::FindFiles(const std::string& directory,
                                                   const std::string& pattern, std::size_t limit) {
  searches.push_back(directory + " " + pattern);
  std::vector<std::string> names;
  for (const std::string& path : order) {
    if (names.size() >= limit) break;
    if (DirOf(path) != directory || hidden_or_dirs.count(path)) continue;
    const std::string name = path.substr(directory.size());
    if (MatchesPattern(name, pattern)) names.push_back(name);
  }
  return names;
}

bool FakeFileSystem::CreateDirectories(const std::string& directory) {
  created_dirs.push_back(directory);
  if (step_log) step_log->push_back("mkdir " + directory);
  return true;
}

bool FakeFileSystem::AppendToFile(const std::string& path, const std::string& text) {
  if (unwritable_dirs.count(DirOf(path))) return false;
  if (!files.count(path)) order.push_back(path);
  files[path].insert(files[path].end(), text.begin(), text.end());
  return true;
}

bool FakeFileSystem::RenameFile(const std::string& from, const std::string& to) {
  if (rename_fails || !files.count(from) || unwritable_dirs.count(DirOf(to))) return false;
  auto bytes = std::move(files[from]);
  files.erase(from);
  order.erase(std::remove(order.begin(), order.end(), from), order.end());
  Add(to, std::move(bytes));
  return true;
}

void FakeFileSystem::Add(const std::string& path, std::vector<std::uint8_t> bytes) {
  if (!files.count(path)) order.push_back(path);
  files[path] = std::move(bytes);
}

float FakeRandom::Next() {
  if (values.empty()) return fallback;
  const float r = values.front();
  values.pop_front();
  return r;
}

namespace {

class FakeGrabSession : public GrabSession {
 public:
  explicit FakeGrabSession(FakeScreenGrab& grab) : grab_(grab) {}
  ~FakeGrabSession() override { Release(); }
  bool CopyTo(Bitmap& target, int width, int height) override {
    if (grab_.log) grab_.log->push_back("copy");
    if (grab_.copy_fails || released_) return false;
    for (int y = 0; y < height && y < target.height; ++y) {
      for (int x = 0; x < width && x < target.width; ++x) target.Row(y)[x] = grab_.pixel(x, y);
    }
    return true;
  }
  std::optional<PixelView> Peek(int width, int height) override {
    if (!grab_.peeks || grab_.copy_fails || released_) return std::nullopt;
    if (grab_.log) grab_.log->push_back("peek");
    held_.resize(static_cast<std::size_t>(width) * height);
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        held_[static_cast<std::size_t>(y) * width + x] = grab_.pixel(x, y) | 0xAB000000u;
      }
    }
    return PixelView{held_.data(), static_cast<std::size_t>(width), width, height};
  }
  void Release() override {
    if (released_) return;
    released_ = true;
    ++grab_.released;
    if (grab_.log) grab_.log->push_back("release");
  }

 private:
  FakeScreenGrab& grab_;
  bool released_ = false;
  std::vector<std::uint32_t> held_;  // what a Peek looks at
};

}  // namespace

std::unique_ptr<GrabSession> FakeScreenGrab::OpenDesktop() {
  if (log) log->push_back("open");
  if (open_fails || (needs_session && !in_session)) return nullptr;
  ++opened;
  return std::make_unique<FakeGrabSession>(*this);
}

void FakeScreenGrab::BeginSession() {
  if (log) log->push_back("begin");
  ++begun;
  in_session = true;
}

void FakeScreenGrab::EndSession() {
  if (log) log->push_back("end");
  ++ended;
  in_session = false;
}

int FakeJpegConverter::BmpToJpeg(const std::string& bmp_path, const std::string& jpeg_path,
                                 std::int16_t level) {
  calls.push_back({bmp_path, jpeg_path, level});
  if (log) log->push_back("convert");
  if (writes_nothing || !files_.Has(bmp_path)) return 1;
  files_.Add(jpeg_path, writes_empty ? std::vector<std::uint8_t>{}
                                     : std::vector<std::uint8_t>{0xFF, 0xD8, 0xFF, 0xD9});
  return writes_empty ? 1 : 0;
}

std::uint32_t FakeMediaControl::mciSendString(const std::string& command, WindowHandle callback) {
  commands.push_back(command);
  callbacks.push_back(callback);
  if (responder) return responder(command);
  auto it = results.find(command);
  return it == results.end() ? 0 : it->second;
}

std::uint32_t FakeMediaControl::mciSendString(const std::string& command, std::string* reply,
                                              WindowHandle callback) {
  const std::uint32_t result = mciSendString(command, callback);
  if (reply) {
    auto it = replies.find(command);
    *reply = it == replies.end() ? "" : it->second;
  }
  return result;
}

std::vector<std::string> FakeMediaControl::OpenedSongs(std::size_t from) const {
  std::vector<std::string> songs;
  for (std::size_t i = from; i < commands.size(); ++i) {
    const std::string& c = commands[i];
    if (c.rfind("open \"", 0) != 0 || !c.ends_with(" alias MUSIC")) continue;
    const std::size_t name = c.rfind(kPathSeparator, c.find('"', 6)) + 1;
    songs.push_back(c.substr(name, c.find('"', name) - name));
  }
  return songs;
}

std::shared_ptr<const Picture> FakePictures::LoadPicture(const std::string& path,
                                                         Size display_size) {
  loads.push_back(path);
  display_sizes.push_back(display_size);
  if (on_load) on_load(path);
  auto it = sizes.find(path);
  if (it == sizes.end()) return nullptr;
  return std::make_shared<FakePicture>(it->second, path);
}

bool FakePictures::SavePicture(const Picture& picture, const std::string& path) {
  if (save_fails) return false;
  saves.emplace_back(&picture, path);
  return true;
}

bool FakePrinter::PaintPicture(const Picture& picture, int x, int y) {
  if (!page) return false;
  paints.push_back({&picture, x, y});
  return true;
}

int FakeMessageBox::MsgBox(const std::string& text, int style, const std::string& caption) {
  shown.push_back({text, style, caption, cursor_.counter});
  if (while_open) while_open();
  if (answers.empty()) return (style & 0xF) == kMbYesNo ? kIdNo : kIdOk;
  const int answer = answers.front();
  answers.pop_front();
  return answer;
}

bool FakeWindowActivation::ActivateWindow(const std::string& title) {
  if (log) log->push_back("activate " + title);
  if (activation_fails) return false;
  TitleMatch<std::string> match(title);
  for (const std::string& t : titles) {
    if (match.Offer(t, t)) break;
  }
  if (!match.Best()) return false;
  active = *match.Best();
  return true;
}

Services FakePlatform::With(FileSystem* real_files, MediaControl* real_media,
                            Notifications* real_notifications) {
  FileSystem& f = real_files ? *real_files : files;
  MediaControl& m = real_media ? *real_media : media;
  Notifications& n = real_notifications ? *real_notifications : notifications;
  return {runtime,     settings, f,           clock,      random, shell,    instance, folder_dialog,
          known_paths, locale,   screen_grab, jpeg,       m,      pictures, printer,  message_box,
          wallpaper,   cursor,   windows,     saver_lock, n,      video};
}

}  // namespace trelvin::fakes
