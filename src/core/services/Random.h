#pragma once

namespace trelvin {

// A seeded uniform pseudo-random generator.
class Random {
 public:
  virtual ~Random() = default;
  // Restarts the sequence from `seed`.
  virtual void Seed(double seed) = 0;
  // The next value r with 0 <= r < 1.
  virtual float Next() = 0;
};

}  // namespace trelvin
