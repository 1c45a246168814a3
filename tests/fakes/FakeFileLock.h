#pragma once

#include <functional>
#include <set>
#include <string>
#include <utility>

#include "core/services/FileLock.h"

namespace trelvin::fakes {

// A lock between processes that one process takes once per name; `fails` refuses every lock, and
// `before_lock` runs once before the next lock (another process's move at that moment).
class FakeFileLock : public FileLock {
 public:
  bool Lock(const std::string& path) override {
    if (before_lock) std::exchange(before_lock, nullptr)();
    return !fails && held.insert(path).second;
  }
  void Unlock(const std::string& path) override { held.erase(path); }
  std::set<std::string> held;
  bool fails = false;
  std::function<void()> before_lock;
};

}  // namespace trelvin::fakes
