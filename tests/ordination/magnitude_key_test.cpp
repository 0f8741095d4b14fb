#include "ordination/magnitude_key.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <vector>

#include "support/kernel_path_parameter.h"

namespace vorn {
namespace {

// The first column of largest |x|, compared as reals.
std::size_t PlainLargestColumn(const std::vector<Real>& row, std::size_t from, std::size_t to) {
  std::size_t best = from;
  for (std::size_t m = from + 1; m < to; ++m) {
    if (std::fabs(row[m]) > std::fabs(row[best])) best = m;
  }
  return best;
}

// Few distinct magnitudes (ties, of either sign, and both zeros) mixed with values of full
// 64-bit significands and exponents far apart: within the double range for split slots, down to
// subnormal extended values for extended ones.
Real RandomEntry(std::mt19937_64& random, bool split) {
  const int sign = random() % 2 ? -1 : 1;
  switch (random() % 6) {
    case 0: return sign * Real(0);
    case 1: return split ? std::ldexp(Real(random() | 1), -1020 - 64 + 11) : std::ldexp(Real(random() % 4 + 1), -16440);
    case 2: return sign * std::ldexp(Real(random() % 1000), static_cast<int>(random() % (split ? 2000 : 32000)) - (split ? 1000 : 16000));
    case 3: return sign * std::ldexp(Real(random() >> (random() % 4 * 16)), -64);
    default: return Real(static_cast<int>(random() % 7) - 3) / 4;
  }
}

template <class Slots>
void ExpectFirstColumnOfLargestMagnitude() {
  constexpr bool kSplit = std::is_same_v<Slots, SplitSlots>;
  std::mt19937_64 random(11);
  for (std::size_t length = 1; length <= 300; length += length < 80 ? 1 : 37) {
    for (std::size_t from = 0; from < 4; ++from) {
      SCOPED_TRACE("length " + std::to_string(length) + ", from " + std::to_string(from));
      std::vector<Real> values(from + length);
      std::vector<RealSlot> row(values.size());
      for (std::size_t m = 0; m < values.size(); ++m) {
        values[m] = RandomEntry(random, kSplit);
        const std::uint64_t padding = random();  // the extended format's padding plays no part
        std::memcpy(reinterpret_cast<char*>(&row[m]) + 10, &padding, 6);
        Slots::Store(row[m], values[m]);
        ASSERT_EQ(Slots::Load(row[m]), values[m]);
      }
      const LargestMagnitude largest = LargestMagnitudeOf<Slots>(row.data(), from, from + length);
      const std::size_t expected = PlainLargestColumn(values, from, from + length);
      ASSERT_EQ(largest.column, expected);
      ASSERT_TRUE(largest.key == KeyOf<Slots>(row[expected]));
    }
  }
}

using LargestMagnitudeOnEachPath = testing::OnEachPathOf<Kernel::JacobiMagnitudeScan>;
INSTANTIATE_TEST_SUITE_P(Paths, LargestMagnitudeOnEachPath, testing::EveryKernelPath(), testing::KernelPathTestName);

TEST_P(LargestMagnitudeOnEachPath, FindsTheFirstColumnOfLargestMagnitudeInBothSlotFormats) {
  ExpectFirstColumnOfLargestMagnitude<ExtendedSlots>();
  ExpectFirstColumnOfLargestMagnitude<SplitSlots>();
}

}  // namespace
}  // namespace vorn
