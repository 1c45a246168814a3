#pragma once

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "core/base/Picture.h"
#include "core/base/Types.h"
#include "core/services/PictureDecoder.h"
#include "core/services/Pictures.h"

namespace trelvin {

// The picture service every system shares: pictures load through the system's decoder, and one
// picture is decoded ahead on a worker thread, already brought to the size it is shown at. The
// worker is started at the first request and holds at most one prepared picture; a request for
// another picture drops it. A system derives from it and adds saving. All members are called
// from one thread (the interface thread).
class PictureLookAhead : public Pictures {
 public:
  // Starts a thread that runs `run`; throws std::system_error when none can be started (the
  // process at its task limit).
  using StartThread = std::function<std::thread(std::function<void()> run)>;
  // Runs `then` on the interface thread once the window has drawn what it has to draw now. The
  // next picture's decode waits for it (or for the picture being asked for), so that it does not
  // compete for the processor with the drawing of the change that asked for it. Empty: no wait.
  using AfterDraw = std::function<void(std::function<void()> then)>;

  explicit PictureLookAhead(std::unique_ptr<PictureDecoder> decoder,
                            StartThread start_thread = StandardThread,
                            AfterDraw after_draw = nullptr);
  ~PictureLookAhead() override;
  PictureLookAhead(const PictureLookAhead&) = delete;
  PictureLookAhead& operator=(const PictureLookAhead&) = delete;

  std::shared_ptr<const Picture> LoadPicture(const std::string& path, Size display_size) final;
  void PreparePicture(const std::string& path, Size display_size) final;
  void DropPreparedPicture() final;

  // The file of a picture that holds fewer pixels than its natural size, decoded again with
  // every pixel; nullptr when the file no longer decodes to a picture of that size (changed or
  // gone since: the caller brings the held pixels to that size instead).
  static std::shared_ptr<const Picture> DecodeWhole(PictureDecoder& decoder,
                                                    const std::string& source, Size natural);

  static std::thread StandardThread(std::function<void()> run);

 private:
  struct Job {
    std::string path;
    Size display;
    friend bool operator==(const Job&, const Job&) = default;
  };
  // The picture prepared for `path` and `display`, waiting for a decode of it that is under way;
  // nullptr when another was prepared, it failed, or the file changed or went away since it was
  // read.
  std::shared_ptr<const Picture> Take(const std::string& path, Size display);
  void Run();
  // Lets the worker start the job that request `request` queued, if it is still the one queued.
  void Release(std::uint64_t request);
  // One decode on the worker; an exception fails it like a damaged file.
  std::shared_ptr<const Picture> DecodeAhead(const Job& job, std::optional<FileStamp>& read);

  std::unique_ptr<PictureDecoder> decoder_;
  StartThread start_thread_;
  AfterDraw after_draw_;
  // Expires with this object: a release that comes after it is ignored.
  std::shared_ptr<int> alive_ = std::make_shared<int>(0);
  std::mutex mutex_;
  std::condition_variable changed_;
  std::optional<Job> queued_;   // asked for, not started; only while a worker runs
  bool held_ = false;           // the queued job waits for the window to have drawn
  std::uint64_t requests_ = 0;  // counts the jobs queued, to match a release to its job
  std::optional<Job> running_;  // being decoded, while still wanted
  bool busy_ = false;           // the worker is decoding, whether or not it is still wanted
  std::optional<Job> ready_;    // decoded, with its picture and the stamp read before decoding
  std::shared_ptr<const Picture> picture_;
  std::optional<FileStamp> stamp_read_;
  bool stopping_ = false;
  std::thread worker_;
};

}  // namespace trelvin
