#include "ordination/magnitude_key.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <vector>

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

// Rows of few distinct magnitudes (ties, of either sign) mixed with zeros, subnormals and
// exponents far apart, with random bytes in the padding; every length up to 80 and some longer,
// from every offset within a vector of four.
TEST(LargestMagnitudeOf, FindsTheFirstColumnOfLargestMagnitude) {
  std::mt19937_64 random(11);
  for (std::size_t length = 1; length <= 300; length += length < 80 ? 1 : 37) {
    for (std::size_t from = 0; from < 4; ++from) {
      SCOPED_TRACE("length " + std::to_string(length) + ", from " + std::to_string(from));
      std::vector<Real> row(from + length);
      for (Real& x : row) {
        switch (random() % 6) {
          case 0: x = 0; break;
          case 1: x = std::ldexp(Real(random() % 4 + 1), -16440); break;  // subnormal
          case 2: x = std::ldexp(Real(random() % 1000), static_cast<int>(random() % 32000) - 16000); break;
          default: x = Real(static_cast<int>(random() % 7) - 3) / 4; break;
        }
        const std::uint64_t padding = random();
        std::memcpy(reinterpret_cast<char*>(&x) + 10, &padding, 6);
      }
      const LargestMagnitude largest = LargestMagnitudeOf(row.data(), from, from + length);
      const std::size_t expected = PlainLargestColumn(row, from, from + length);
      ASSERT_EQ(largest.column, expected);
      ASSERT_TRUE(largest.key == KeyOf(row[expected]));
    }
  }
}

}  // namespace
}  // namespace vorn
