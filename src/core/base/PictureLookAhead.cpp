#include "core/base/PictureLookAhead.h"

#include <utility>

namespace trelvin {

PictureLookAhead::PictureLookAhead(Decode decode, Stamp stamp)
    : decode_(std::move(decode)), stamp_(std::move(stamp)) {}

PictureLookAhead::~PictureLookAhead() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  changed_.notify_all();
  if (worker_.joinable()) worker_.join();
}

void PictureLookAhead::Prepare(const std::string& path, Size display) {
  const Job job{path, display};
  {
    std::lock_guard lock(mutex_);
    if (ready_ == job || running_ == job || queued_ == job) return;
    // Only one picture is held ahead: the one asked for now. An older decode under way is
    // dropped when it ends.
    ready_.reset();
    picture_.reset();
    running_.reset();
    queued_ = job;
    if (!worker_.joinable()) worker_ = std::thread([this] { Run(); });
  }
  changed_.notify_all();
}

std::shared_ptr<const Picture> PictureLookAhead::Take(const std::string& path, Size display) {
  const Job job{path, display};
  std::shared_ptr<const Picture> picture;
  std::optional<FileStamp> read;
  {
    std::unique_lock lock(mutex_);
    // Waits for it while it is decoded or about to be; but behind an older decode that is still
    // running, the caller decodes it at once instead.
    changed_.wait(lock,
                  [&] { return (queued_ == job && busy_) || (queued_ != job && running_ != job); });
    if (queued_ == job) {
      queued_.reset();
      return nullptr;
    }
    if (ready_ != job) return nullptr;
    ready_.reset();
    picture = std::move(picture_);
    read = stamp_read_;
  }
  if (!picture || !read || stamp_(path) != read) return nullptr;
  return picture;
}

void PictureLookAhead::Drop() {
  std::lock_guard lock(mutex_);
  queued_.reset();
  ready_.reset();
  picture_.reset();
  // A decode under way is dropped when it ends: it is no longer the one asked for.
  running_.reset();
  changed_.notify_all();
}

void PictureLookAhead::Run() {
  std::unique_lock lock(mutex_);
  for (;;) {
    changed_.wait(lock, [&] { return stopping_ || queued_.has_value(); });
    if (stopping_) return;
    const Job job = std::move(*queued_);
    queued_.reset();
    running_ = job;
    busy_ = true;
    lock.unlock();
    std::optional<FileStamp> read = stamp_(job.path);
    std::shared_ptr<const Picture> picture = read ? decode_(job.path, job.display) : nullptr;
    lock.lock();
    busy_ = false;
    // Kept only while still wanted: a newer request or a drop has cleared `running_`.
    if (running_ == job) {
      running_.reset();
      ready_ = job;
      picture_ = std::move(picture);
      stamp_read_ = read;
    } else {
      picture.reset();
    }
    changed_.notify_all();
  }
}

}  // namespace trelvin
