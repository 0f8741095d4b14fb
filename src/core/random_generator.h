// The program's one pseudo-random generator: a 32-bit linear congruential state advanced by
// S := S * 134775813 + 1 (mod 2^32). Both draws advance first and then use the new state, so
// every consumer sees numbers that depend on everything drawn before it in the run.
#pragma once

#include <cstdint>

#include "core/conventions.h"

namespace vorn {

class RandomGenerator {
 public:
  void Seed(std::uint32_t state) { state_ = state; }
  std::uint32_t State() const { return state_; }

  // S / 2^32 after advancing: a real in [0, 1) with a resolution of 2^-32.
  Real NextReal() { return static_cast<Real>(Advance()) / 4294967296.0L; }

  // floor(S * n / 2^32) after advancing: an integer in 0 .. n - 1 for n >= 1.
  std::uint32_t NextBelow(std::uint32_t n) {
    return static_cast<std::uint32_t>((std::uint64_t{Advance()} * n) >> 32);
  }

 private:
  std::uint32_t Advance() {
    state_ = state_ * 134775813u + 1u;
    return state_;
  }

  std::uint32_t state_ = 0;
};

// The low 32 bits of the high-resolution clock: the seed of a run that is not told one.
std::uint32_t SeedFromClock();

}  // namespace vorn
