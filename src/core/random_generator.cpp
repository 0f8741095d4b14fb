#include "core/random_generator.h"

#include <chrono>

namespace vorn {
namespace {

// The step k states ahead: S_k = multiplier(k) * S + increment(k) (mod 2^32).
constexpr std::uint32_t MultiplierAhead(int k) {
  return k == 0 ? 1u : MultiplierAhead(k - 1) * RandomGenerator::kMultiplier;
}
constexpr std::uint32_t IncrementAhead(int k) {
  return k == 0 ? 0u : IncrementAhead(k - 1) * RandomGenerator::kMultiplier + RandomGenerator::kIncrement;
}

}  // namespace

std::uint32_t RandomGenerator::NextWordWithin(std::uint32_t low, std::uint32_t high) {
  constexpr std::uint32_t m1 = MultiplierAhead(1), m2 = MultiplierAhead(2), m3 = MultiplierAhead(3),
                          m4 = MultiplierAhead(4);
  constexpr std::uint32_t c1 = IncrementAhead(1), c2 = IncrementAhead(2), c3 = IncrementAhead(3),
                          c4 = IncrementAhead(4);
  const std::uint32_t width = high - low;
  std::uint32_t s = state_;
  // The four next states depend on s only, so their multiplications overlap; they are tested
  // in order, so the first state inside the range is the one taken.
  for (;;) {
    const std::uint32_t s1 = s * m1 + c1, s2 = s * m2 + c2, s3 = s * m3 + c3, s4 = s * m4 + c4;
    if (s1 - low <= width) return state_ = s1;
    if (s2 - low <= width) return state_ = s2;
    if (s3 - low <= width) return state_ = s3;
    if (s4 - low <= width) return state_ = s4;
    s = s4;
  }
}

std::uint32_t SeedFromClock() {
  const auto ticks = std::chrono::high_resolution_clock::now().time_since_epoch().count();
  return static_cast<std::uint32_t>(ticks);
}

}  // namespace vorn
