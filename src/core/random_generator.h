// The program's one pseudo-random generator: a 32-bit linear congruential state advanced by
// S := S * 134775813 + 1 (mod 2^32). Both draws advance first and then use the new state, so
// every consumer sees numbers that depend on everything drawn before it in the run.
#pragma once

#include <cstdint>

#include "core/conventions.h"

namespace vorn {

class RandomGenerator {
 public:
  static constexpr std::uint32_t kMultiplier = 134775813u;
  static constexpr std::uint32_t kIncrement = 1u;

  void Seed(std::uint32_t state) { state_ = state; }
  std::uint32_t State() const { return state_; }

  // S after advancing: the raw word behind NextReal, which is NextWord() / 2^32.
  std::uint32_t NextWord() { return Advance(); }

  // S / 2^32 after advancing: a real in [0, 1) with a resolution of 2^-32.
  Real NextReal() { return static_cast<Real>(Advance()) / 4294967296.0L; }

  // Advances until S lies in [low, high] (low <= high) and returns it: the same states a loop of
  // NextWord calls would pass through, rejected and accepted, computed four at a time. The
  // generator runs through all 2^32 states, so it always ends.
  std::uint32_t NextWordWithin(std::uint32_t low, std::uint32_t high);

  // floor(S * n / 2^32) after advancing: an integer in 0 .. n - 1 for n >= 1.
  std::uint32_t NextBelow(std::uint32_t n) {
    return static_cast<std::uint32_t>((std::uint64_t{Advance()} * n) >> 32);
  }

 private:
  std::uint32_t Advance() {
    state_ = state_ * kMultiplier + kIncrement;
    return state_;
  }

  std::uint32_t state_ = 0;
};

// The low 32 bits of the high-resolution clock: the seed of a run that is not told one.
std::uint32_t SeedFromClock();

}  // namespace vorn
