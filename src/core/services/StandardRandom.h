#pragma once

#include <random>

#include "core/services/Random.h"

namespace trelvin {

// A Mersenne Twister with uniform single-precision values in [0, 1).
class StandardRandom : public Random {
 public:
  void Seed(double seed) override;
  float Next() override;

 private:
  std::mt19937 engine_{5489u};
};

}  // namespace trelvin
