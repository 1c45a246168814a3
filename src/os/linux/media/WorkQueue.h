#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

namespace trelvin {

// One thread of its own that runs the jobs posted to it, one at a time, in order.
class WorkQueue {
 public:
  WorkQueue();
  // Runs the jobs still queued, then ends the thread.
  ~WorkQueue();
  WorkQueue(const WorkQueue&) = delete;
  WorkQueue& operator=(const WorkQueue&) = delete;

  // Queues `job` and returns at once; safe from any thread, also from a job.
  void Post(std::function<void()> job);
  // Returns once every job posted so far has run. Not from a job.
  void Flush();

 private:
  void Run();

  std::mutex mutex_;
  std::condition_variable wake_;
  std::condition_variable idle_;
  std::deque<std::function<void()>> jobs_;
  bool busy_ = false;
  bool stopping_ = false;
  std::thread thread_;
};

}  // namespace trelvin
