#include "core/services/StandardRandom.h"

#include <cstring>

namespace trelvin {

void StandardRandom::Seed(double seed) {
  // All bits of the seed count, so seeds a fraction of a second apart give different sequences.
  std::uint64_t bits = 0;
  std::memcpy(&bits, &seed, sizeof bits);
  std::seed_seq sequence{static_cast<std::uint32_t>(bits), static_cast<std::uint32_t>(bits >> 32)};
  engine_.seed(sequence);
}

float StandardRandom::Next() {
  // 24 random bits: every value is exact in single precision and strictly below 1.
  return static_cast<float>(engine_() >> 8) / 16777216.0f;
}

}  // namespace trelvin
