// The program's one pseudo-random generator: a 32-bit linear congruential state advanced by
// S := S * 134775813 + 1 (mod 2^32). Both draws advance first and then use the new state, so
// every consumer sees numbers that depend on everything drawn before it in the run.
#pragma once

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <utility>

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

  // Rejection sampling on the raw words: advances state by state and hands each of the next
  // count states that lie in [low, high] (low <= high) to accept, in order, stopping at the last
  // one handed; exactly the states a loop of NextWord calls would pass, rejected and accepted.
  // The generator runs through all 2^32 states, so it always ends.
  template <typename Accept>
  void DrawWordsWithin(std::uint32_t low, std::uint32_t high, std::uint32_t count, Accept&& accept);

  // The sum of the words DrawWordsWithin(low, high, count, ...) would hand over, leaving the
  // generator where it leaves it. Most states are tested many lanes at a time; only the last
  // few accepted ones are sought state by state.
  std::uint64_t SumWordsWithin(std::uint32_t low, std::uint32_t high, std::uint32_t count);

  // floor(S * n / 2^32) after advancing: an integer in 0 .. n - 1 for n >= 1.
  std::uint32_t NextBelow(std::uint32_t n) {
    return static_cast<std::uint32_t>((std::uint64_t{Advance()} * n) >> 32);
  }

  // Fills out[0 .. count - 1] with the next count NextBelow(n) draws, in order; the states are
  // computed a block at a time from the one before the block, so that their multiplications
  // overlap instead of waiting on each other.
  void FillBelow(std::uint32_t n, std::uint32_t* out, std::size_t count);

  // Advances by count states and tells how many of them were at most high: the number of
  // NextReal draws u <= high / 2^32 among count draws, without drawing them one by one.
  std::uint32_t CountWordsAtMost(std::uint32_t high, std::uint32_t count);

  // Advances by steps states at once (composing the step with itself, log2(steps) times).
  void Skip(std::uint64_t steps);

 private:
  std::uint32_t Advance() {
    state_ = state_ * kMultiplier + kIncrement;
    return state_;
  }

  // The states 1 .. kBlock steps ahead are computed from the current one at once, so that their
  // multiplications overlap: S_k = multiplier_k * S + increment_k (mod 2^32).
  static constexpr int kBlock = 16;
  struct Step {
    std::uint32_t multiplier, increment;
  };
  static constexpr std::array<Step, kBlock> kStepsAhead = [] {
    std::array<Step, kBlock> steps{};
    Step step{1u, 0u};
    for (auto& ahead : steps) {
      step = {step.multiplier * kMultiplier, step.increment * kMultiplier + kIncrement};
      ahead = step;
    }
    return steps;
  }();

  std::uint32_t state_ = 0;
};

template <typename Accept>
void RandomGenerator::DrawWordsWithin(std::uint32_t low, std::uint32_t high, std::uint32_t count, Accept&& accept) {
  const std::uint32_t width = high - low;
  std::uint32_t s = state_;
  while (count > 0) {
    std::uint32_t states[kBlock];
    std::uint32_t inside = 0;  // bit k: the state k + 1 steps ahead lies in the range
    for (int k = 0; k < kBlock; ++k) {
      states[k] = s * kStepsAhead[k].multiplier + kStepsAhead[k].increment;
      inside |= static_cast<std::uint32_t>(states[k] - low <= width) << k;
    }
    for (; inside != 0; inside &= inside - 1) {
      const std::uint32_t accepted = states[std::countr_zero(inside)];
      accept(accepted);
      if (--count == 0) {
        state_ = accepted;
        return;
      }
    }
    s = states[kBlock - 1];
  }
  state_ = s;
}

inline std::uint32_t RandomGenerator::CountWordsAtMost(std::uint32_t high, std::uint32_t count) {
  std::uint32_t s = state_;
  std::uint32_t atMost = 0;
  for (; count >= kBlock; count -= kBlock) {
    for (int k = 0; k < kBlock; ++k) atMost += (s * kStepsAhead[k].multiplier + kStepsAhead[k].increment) <= high;
    s = s * kStepsAhead[kBlock - 1].multiplier + kStepsAhead[kBlock - 1].increment;
  }
  for (; count > 0; --count) {
    s = s * kMultiplier + kIncrement;
    atMost += s <= high;
  }
  state_ = s;
  return atMost;
}

inline void RandomGenerator::FillBelow(std::uint32_t n, std::uint32_t* out, std::size_t count) {
  std::uint32_t s = state_;
  for (; count >= kBlock; count -= kBlock, out += kBlock) {
    for (int k = 0; k < kBlock; ++k) {
      const std::uint32_t ahead = s * kStepsAhead[k].multiplier + kStepsAhead[k].increment;
      out[k] = static_cast<std::uint32_t>((std::uint64_t{ahead} * n) >> 32);
    }
    s = s * kStepsAhead[kBlock - 1].multiplier + kStepsAhead[kBlock - 1].increment;
  }
  state_ = s;
  for (std::size_t k = 0; k < count; ++k) out[k] = NextBelow(n);
}

inline void RandomGenerator::Skip(std::uint64_t steps) {
  Step power{kMultiplier, kIncrement};  // the step 2^k times, for the bit k of steps
  for (; steps != 0; steps >>= 1) {
    if (steps & 1) state_ = state_ * power.multiplier + power.increment;
    power = {power.multiplier * power.multiplier, power.increment * power.multiplier + power.increment};
  }
}

// A Fisher-Yates shuffle of order[0 .. count - 1] taking count - 1 NextBelow draws (from the last
// place down): the one way the permutation tests reorder objects.
inline void ShuffleOrder(std::uint32_t* order, std::size_t count, RandomGenerator& random) {
  for (std::size_t i = count; i > 1; --i) std::swap(order[i - 1], order[random.NextBelow(static_cast<std::uint32_t>(i))]);
}

// Permutation k of a test that shuffles count objects per permutation, as one serial loop of
// the test would draw it: the identity order shuffled with the draws that start k (count - 1)
// draws after base. Permutations so drawn can run on any number of cores.
inline void PermutationOrder(const RandomGenerator& base, std::uint64_t k, std::uint32_t* order, std::size_t count) {
  RandomGenerator draw = base;
  draw.Skip(k * (count > 0 ? count - 1 : 0));
  for (std::size_t i = 0; i < count; ++i) order[i] = static_cast<std::uint32_t>(i);
  ShuffleOrder(order, count, draw);
}

// The low 32 bits of the high-resolution clock: the seed of a run that is not told one.
std::uint32_t SeedFromClock();

}  // namespace vorn
