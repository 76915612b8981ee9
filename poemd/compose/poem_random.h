// The composer's source of chance: SplitMix64, small and fast, and the same
// sequence for the same seed on every machine.
#pragma once

#include <cstddef>
#include <cstdint>

namespace miravel::poemd {

class PoemRandom {
 public:
  explicit PoemRandom(uint64_t seed) : state_(seed) {}

  uint64_t Next() {
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  // Uniform in [0, n). REQUIRES: n > 0.
  size_t Below(size_t n) { return static_cast<size_t>((Next() >> 11) % n); }
  // Uniform in [0, 1).
  float Unit() { return static_cast<float>(Next() >> 40) * 0x1.0p-24f; }

 private:
  uint64_t state_;
};

}  // namespace miravel::poemd
