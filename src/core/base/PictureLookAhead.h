#pragma once

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "core/base/Picture.h"
#include "core/base/Types.h"

namespace trelvin {

// What tells a changed file from the one that was read: its length and modification time.
struct FileStamp {
  long long size = 0;
  long long modified = 0;  // in the system's own unit
  friend bool operator==(const FileStamp&, const FileStamp&) = default;
};

// One picture decoded ahead on a worker thread, for the picture services of the platforms. The
// worker is started at the first request and holds at most one prepared picture; a request for
// another picture drops it. All members are called from one thread (the interface thread).
class PictureLookAhead {
 public:
  // Decodes `path` as it will be shown at `display` (empty: at natural size); nullptr on failure.
  // Runs on the worker.
  using Decode =
      std::function<std::shared_ptr<const Picture>(const std::string& path, Size display)>;
  // The file's stamp; nullopt when it cannot be read. Runs on either thread.
  using Stamp = std::function<std::optional<FileStamp>(const std::string& path)>;

  PictureLookAhead(Decode decode, Stamp stamp);
  ~PictureLookAhead();
  PictureLookAhead(const PictureLookAhead&) = delete;
  PictureLookAhead& operator=(const PictureLookAhead&) = delete;

  // Has `path` decoded for `display` unless it already is, or is under way; drops any other.
  void Prepare(const std::string& path, Size display);
  // Hands over the picture prepared for `path` and `display`, waiting for a decode of it that is
  // under way; nullptr when another was prepared, it failed, or the file changed or went away
  // since it was read.
  std::shared_ptr<const Picture> Take(const std::string& path, Size display);
  // Drops what was prepared; a decode under way finishes and is dropped.
  void Drop();

 private:
  struct Job {
    std::string path;
    Size display;
    friend bool operator==(const Job&, const Job&) = default;
  };
  void Run();

  Decode decode_;
  Stamp stamp_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::optional<Job> queued_;   // asked for, not started
  std::optional<Job> running_;  // being decoded, while still wanted
  bool busy_ = false;           // the worker is decoding, whether or not it is still wanted
  std::optional<Job> ready_;    // decoded, with its picture and the stamp read before decoding
  std::shared_ptr<const Picture> picture_;
  std::optional<FileStamp> stamp_read_;
  bool stopping_ = false;
  std::thread worker_;
};

}  // namespace trelvin
