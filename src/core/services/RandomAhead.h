#pragma once

#include <optional>

#include "core/services/Random.h"

namespace trelvin {

// The random source with a look at the value it gives next. A look draws that value early and
// holds it for the next draw, whoever makes it: every draw gets the value it would have got
// without the look, in the same order. A new seed drops a held value.
class RandomAhead {
 public:
  explicit RandomAhead(Random& source) : source_(source) {}

  void Seed(double seed) {
    held_.reset();
    source_.Seed(seed);
  }
  // The next value r with 0 <= r < 1: the held one, if any.
  float Next() {
    if (!held_) return source_.Next();
    const float value = *held_;
    held_.reset();
    return value;
  }
  // The value Next gives next.
  float Peek() {
    if (!held_) held_ = source_.Next();
    return *held_;
  }

 private:
  Random& source_;
  std::optional<float> held_;
};

}  // namespace trelvin
