#include "similarity/average_similarity.h"

#include <gtest/gtest.h>

#include <cmath>

#include "similarity/coefficient_names.h"
#include "similarity/reference_coefficients.h"
#include "similarity/similarity_matrix.h"

namespace vorn {
namespace {

using C = SimilarityCoefficient;
using testing::kAllCoefficients;
using testing::RandomMatrix;
using testing::SameValue;
using testing::TestSeed;

RandomGenerator Seeded(std::uint32_t seed) {
  RandomGenerator random;
  random.Seed(seed);
  return random;
}

// The drawing loop as written: NextReal until JC values are accepted, all values kept, then
// mean and variance from the sums.
AverageDraw ReferenceAverage(Real lo, Real hi, C coefficient, int jc, RandomGenerator& random) {
  if (lo > hi) std::swap(lo, hi);
  if (lo == hi) return {hi, 0};
  std::vector<Real> accepted;
  while (static_cast<int>(accepted.size()) < jc) {
    const Real u = random.NextReal();
    if (IsDistance(coefficient)) {
      accepted.push_back(lo + (hi - lo) * u);
    } else if (lo <= u && u <= hi) {
      accepted.push_back(u);
    }
  }
  Real sum = 0, squares = 0;
  for (const Real x : accepted) {
    sum += x;
    squares += x * x;
  }
  const Real mean = sum / jc;
  return {mean, (squares - jc * mean * mean) / (jc - 1)};
}

TEST(AverageOfBounds, EqualBoundsDrawNothing) {
  RandomGenerator random = Seeded(77);
  const AverageDraw draw = AverageOfBounds(0.4L, 0.4L, C::Jaccard, 100, random);
  EXPECT_EQ(draw.mean, 0.4L);
  EXPECT_EQ(draw.variance, 0);
  EXPECT_EQ(random.State(), 77u);
}

TEST(AverageOfBounds, DrawsAsTheRejectionLoopDoes) {
  const std::uint32_t seed = TestSeed();
  const std::pair<Real, Real> bounds[] = {{0.2L, 0.7L}, {0.7L, 0.2L}, {0, 1}, {0.5L, 0.501L}, {0.999L, 1}, {0, 0.001L}};
  for (const C coefficient : kAllCoefficients) {
    for (const auto& [lo, hi] : bounds) {
      for (const int jc : {2, 3, 100}) {
        RandomGenerator fast = Seeded(seed), plain = Seeded(seed);
        const AverageDraw actual = AverageOfBounds(lo, hi, coefficient, jc, fast);
        const AverageDraw expected = ReferenceAverage(lo, hi, coefficient, jc, plain);
        EXPECT_EQ(actual.mean, expected.mean) << CoefficientName(coefficient) << " " << double(lo) << " " << double(hi);
        EXPECT_EQ(actual.variance, std::max(expected.variance, Real(0)));
        EXPECT_EQ(fast.State(), plain.State());
      }
    }
  }
}

TEST(AverageOfBounds, OneDrawHasAMeanButNoVariance) {
  RandomGenerator random = Seeded(5), plain = Seeded(5);
  const AverageDraw draw = AverageOfBounds(2, 3, C::Euclidean, 1, random);
  EXPECT_EQ(draw.mean, 2 + plain.NextReal());
  EXPECT_TRUE(std::isnan(draw.variance));
}

TEST(AverageOfBounds, AnUndefinedBoundNeverEntersTheDrawingLoop) {
  const Real nan = std::numeric_limits<Real>::quiet_NaN();
  RandomGenerator random = Seeded(9);
  AverageDraw draw = AverageOfBounds(nan, 0.5L, C::Dice, 100, random);
  EXPECT_TRUE(std::isnan(draw.mean));
  EXPECT_EQ(draw.variance, 0);
  draw = AverageOfBounds(0.5L, nan, C::SMC, 100, random);
  EXPECT_TRUE(std::isnan(draw.mean));
  // A Nei-Li bound of -1 (undefined) is not averaged with a real distance.
  draw = AverageOfBounds(-1, 0.3L, C::NeiLi, 100, random);
  EXPECT_EQ(draw.mean, -1);
  EXPECT_EQ(draw.variance, 0);
  EXPECT_EQ(random.State(), 9u);
}

TEST(AverageOfBounds, BoundsCloserThanTheGeneratorCanTellAreEqual) {
  // No multiple of 2^-32 lies between these bounds, so no draw could ever be accepted.
  const Real lo = 1.25L / 4294967296.0L, hi = 1.75L / 4294967296.0L;
  RandomGenerator random = Seeded(3);
  const AverageDraw draw = AverageOfBounds(lo, hi, C::Jaccard, 10, random);
  EXPECT_EQ(draw.mean, hi);
  EXPECT_EQ(random.State(), 3u);
}

TEST(AverageMatrix, EntriesInStorageOrderFromTheOneGenerator) {
  const std::uint32_t seed = TestSeed();
  const DataMatrix data = RandomMatrix(9, 40, 0.2, seed);
  for (const C coefficient : kAllCoefficients) {
    SimilaritySettings settings;
    settings.coefficient = coefficient;
    const auto minimum = BuildSimilarityMatrix(data, SimilarityMode::Minimum, settings);
    const auto maximum = BuildSimilarityMatrix(data, SimilarityMode::Maximum, settings);
    RandomGenerator random = Seeded(seed), plain = Seeded(seed), meanOnly = Seeded(seed);
    DistanceMatrix mean, variance, deviation, alone;
    ASSERT_TRUE(AverageMatrix(minimum->matrix, maximum->matrix, coefficient, 20, random, mean, &variance, &deviation).ok());
    // Without the variance the sums are taken another way, to the same numbers.
    ASSERT_TRUE(AverageMatrix(minimum->matrix, maximum->matrix, coefficient, 20, meanOnly, alone).ok());
    EXPECT_EQ(alone.entries, mean.entries);
    EXPECT_EQ(meanOnly.State(), random.State());
    for (std::size_t k = 0; k < mean.entries.size(); ++k) {
      const Real lo = minimum->matrix.entries[k], hi = maximum->matrix.entries[k];
      if (std::isnan(lo) || std::isnan(hi) || lo == -1 || hi == -1) continue;  // not drawn, tested above
      const AverageDraw expected = ReferenceAverage(lo, hi, coefficient, 20, plain);
      EXPECT_EQ(mean.entries[k], expected.mean) << CoefficientName(coefficient) << " entry " << k;
      EXPECT_EQ(variance.entries[k], std::max(expected.variance, Real(0)));
      EXPECT_EQ(deviation.entries[k], std::sqrt(variance.entries[k]));
    }
    EXPECT_EQ(random.State(), plain.State()) << CoefficientName(coefficient);
  }
}

TEST(AverageMatrix, WithoutMissingScoresNothingIsDrawn) {
  const DataMatrix data = RandomMatrix(15, 30, 0, TestSeed());
  SimilaritySettings settings;
  const auto minimum = BuildSimilarityMatrix(data, SimilarityMode::Minimum, settings);
  const auto maximum = BuildSimilarityMatrix(data, SimilarityMode::Maximum, settings);
  RandomGenerator random = Seeded(11);
  DistanceMatrix mean, variance;
  ASSERT_TRUE(AverageMatrix(minimum->matrix, maximum->matrix, C::Jaccard, 100, random, mean, &variance).ok());
  EXPECT_EQ(mean.entries, minimum->matrix.entries);
  EXPECT_EQ(variance.entries, std::vector<Real>(variance.entries.size(), 0));
  EXPECT_EQ(random.State(), 11u);
}

TEST(AverageMatrix, NoDrawsAreRefused) {
  DistanceMatrix bounds(2), mean;
  RandomGenerator random;
  for (const int jc : {0, -3}) {
    const Status status = AverageMatrix(bounds, bounds, C::Jaccard, jc, random, mean);
    ASSERT_FALSE(status.ok());
    EXPECT_EQ(status.error(), "The average similarity needs at least one random draw per pair of individuals, but JC is " +
                                  std::to_string(jc) + ".\r\nPlease set JC under Options > Replicate Analysis Settings.");
  }
}

}  // namespace
}  // namespace vorn
