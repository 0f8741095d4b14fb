#include "core/random_generator.h"

#include <algorithm>
#include <chrono>
#include <cstring>

namespace vorn {
namespace {

// Bulk testing of states for SumWordsWithin: one round computes the next kRound states from the
// current one, kLanes in each of kVectors vectors, independently of each other, and adds up the
// accepted ones lane by lane. The order of the states within a round does not change a sum.
constexpr int kLanes = 16;
constexpr int kVectors = 4;
constexpr std::uint32_t kRound = kLanes * kVectors;
// Rounds between two looks at the counts: each lane sums 16-bit halves, at most
// kVectors * 0xFFFF per round, which stays below 2^32 for this many rounds.
constexpr std::uint32_t kMaxRounds = 4096;

using Lanes = std::uint32_t __attribute__((vector_size(kLanes * sizeof(std::uint32_t))));

// S_k = multiplier_k * S + increment_k (mod 2^32) for k = 1 .. kRound steps ahead.
struct RoundSteps {
  std::uint32_t multiplier[kRound];
  std::uint32_t increment[kRound];
};
constexpr RoundSteps kRoundSteps = [] {
  RoundSteps steps{};
  std::uint32_t multiplier = 1, increment = 0;
  for (std::uint32_t k = 0; k < kRound; ++k) {
    multiplier *= RandomGenerator::kMultiplier;
    increment = increment * RandomGenerator::kMultiplier + RandomGenerator::kIncrement;
    steps.multiplier[k] = multiplier;
    steps.increment[k] = increment;
  }
  return steps;
}();

// Advances state over whole rounds while more than a round's worth of accepted states remain to
// be found (so none of these rounds can hold the last one), lowering count by the accepted
// states passed and returning their sum. Leaves at most kRound to find, and at least 1 when
// count was at least 1.
[[gnu::target_clones("avx512f", "avx2", "default")]]
std::uint64_t SumWholeRounds(std::uint32_t& state, std::uint32_t low, std::uint32_t width, std::uint32_t& count) {
  Lanes multiplier[kVectors], increment[kVectors];
  std::memcpy(multiplier, kRoundSteps.multiplier, sizeof multiplier);
  std::memcpy(increment, kRoundSteps.increment, sizeof increment);
  const std::uint32_t roundMultiplier = kRoundSteps.multiplier[kRound - 1];
  const std::uint32_t roundIncrement = kRoundSteps.increment[kRound - 1];
  std::uint32_t s = state;
  std::uint64_t sum = 0;
  while (count > kRound) {
    const std::uint32_t rounds = std::min((count - 1) / kRound, kMaxRounds);
    Lanes accepted{}, lowHalves{}, highHalves{};
    for (std::uint32_t k = 0; k < rounds; ++k) {
      for (int v = 0; v < kVectors; ++v) {
        const Lanes states = s * multiplier[v] + increment[v];
        const Lanes inside = (Lanes)((states - low) <= width);  // all ones or all zeros
        const Lanes kept = states & inside;
        accepted -= inside;
        lowHalves += kept & 0xFFFFu;
        highHalves += kept >> 16;
      }
      s = s * roundMultiplier + roundIncrement;
    }
    std::uint32_t acceptedTotal = 0;
    std::uint64_t lowTotal = 0, highTotal = 0;
    for (int lane = 0; lane < kLanes; ++lane) {
      acceptedTotal += accepted[lane];
      lowTotal += lowHalves[lane];
      highTotal += highHalves[lane];
    }
    count -= acceptedTotal;
    sum += lowTotal + (highTotal << 16);
  }
  state = s;
  return sum;
}

}  // namespace

std::uint64_t RandomGenerator::SumWordsWithin(std::uint32_t low, std::uint32_t high, std::uint32_t count) {
  std::uint64_t sum = SumWholeRounds(state_, low, high - low, count);
  DrawWordsWithin(low, high, count, [&](std::uint32_t word) { sum += word; });
  return sum;
}

std::uint32_t SeedFromClock() {
  const auto ticks = std::chrono::high_resolution_clock::now().time_since_epoch().count();
  return static_cast<std::uint32_t>(ticks);
}

}  // namespace vorn
