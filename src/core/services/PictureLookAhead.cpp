#include "core/services/PictureLookAhead.h"

#include <exception>
#include <utility>

namespace trelvin {

PictureLookAhead::PictureLookAhead(std::unique_ptr<PictureDecoder> decoder,
                                   StartThread start_thread, AfterDraw after_draw)
    : decoder_(std::move(decoder)),
      start_thread_(std::move(start_thread)),
      after_draw_(std::move(after_draw)) {}

PictureLookAhead::~PictureLookAhead() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  changed_.notify_all();
  if (worker_.joinable()) worker_.join();
}

std::thread PictureLookAhead::StandardThread(std::function<void()> run) {
  return std::thread(std::move(run));
}

std::shared_ptr<const Picture> PictureLookAhead::LoadPicture(const std::string& path,
                                                             Size display_size) {
  if (auto prepared = Take(path, display_size)) return prepared;
  return decoder_->Decode(path, display_size, PictureDecoder::Fit::kCover);
}

void PictureLookAhead::PreparePicture(const std::string& path, Size display_size) {
  const Job job{path, display_size};
  std::uint64_t request = 0;
  {
    std::lock_guard lock(mutex_);
    if (ready_ == job || running_ == job || queued_ == job) return;
    // Only one picture is held ahead: the one asked for now. An older decode under way is
    // dropped when it ends.
    ready_.reset();
    picture_.reset();
    running_.reset();
    // The worker first, then the job: a job with no worker to run it would hold Take forever.
    // Without a thread nothing is prepared, and the show loads each picture when it is due.
    if (!worker_.joinable()) {
      try {
        worker_ = start_thread_([this] { Run(); });
      } catch (const std::exception&) {
        return;
      }
      if (!worker_.joinable()) return;
    }
    queued_ = job;
    held_ = static_cast<bool>(after_draw_);
    request = ++requests_;
  }
  changed_.notify_all();
  if (after_draw_) {
    after_draw_([this, alive = std::weak_ptr<int>(alive_), request] {
      if (!alive.expired()) Release(request);
    });
  }
}

void PictureLookAhead::Release(std::uint64_t request) {
  {
    std::lock_guard lock(mutex_);
    if (request != requests_ || !held_) return;
    held_ = false;
  }
  changed_.notify_all();
}

std::shared_ptr<const Picture> PictureLookAhead::Take(const std::string& path, Size display) {
  const Job job{path, display};
  std::shared_ptr<const Picture> picture;
  std::optional<FileStamp> read;
  {
    std::unique_lock lock(mutex_);
    // Asked for now: it waits for nothing else.
    if (queued_ == job && held_) {
      held_ = false;
      changed_.notify_all();
    }
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
  if (!picture || !read || decoder_->Stamp(path) != read) return nullptr;
  return picture;
}

void PictureLookAhead::DropPreparedPicture() {
  std::lock_guard lock(mutex_);
  queued_.reset();
  ready_.reset();
  picture_.reset();
  // A decode under way is dropped when it ends: it is no longer the one asked for.
  running_.reset();
  changed_.notify_all();
}

std::shared_ptr<const Picture> PictureLookAhead::DecodeWhole(PictureDecoder& decoder,
                                                             const std::string& source,
                                                             Size natural) {
  auto whole = decoder.Decode(source, {}, PictureDecoder::Fit::kCover);
  if (whole && whole->PixelSize() == natural) return whole;
  return nullptr;
}

std::shared_ptr<const Picture> PictureLookAhead::DecodeAhead(const Job& job,
                                                             std::optional<FileStamp>& read) {
  try {
    read = decoder_->Stamp(job.path);
    if (!read) return nullptr;
    return decoder_->Decode(job.path, job.display, PictureDecoder::Fit::kExact);
  } catch (...) {
    read.reset();
    return nullptr;
  }
}

void PictureLookAhead::Run() {
  std::unique_lock lock(mutex_);
  for (;;) {
    changed_.wait(lock, [&] { return stopping_ || (queued_.has_value() && !held_); });
    if (stopping_) return;
    const Job job = std::move(*queued_);
    queued_.reset();
    running_ = job;
    busy_ = true;
    lock.unlock();
    std::optional<FileStamp> read;
    std::shared_ptr<const Picture> picture = DecodeAhead(job, read);
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
