#include "similarity/average_similarity.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <limits>
#include <string>
#include <utility>

#include "core/progress.h"
#include "similarity/coefficient_names.h"
#include "similarity/coefficients.h"

namespace vorn {
namespace {

constexpr Real kTwoTo32 = 4294967296.0L;
constexpr Real kNotANumber = std::numeric_limits<Real>::quiet_NaN();

bool IsUndefinedBound(Real bound, SimilarityCoefficient coefficient) {
  return std::isnan(bound) || (coefficient == SimilarityCoefficient::NeiLi && bound == kUndefinedNeiLi);
}

}  // namespace

Status CheckDrawCount(std::int32_t drawCount) {
  if (drawCount >= 1) return Success();
  return Failure{"The average similarity needs at least one random draw per pair of individuals, but JC is " +
                 std::to_string(drawCount) + ".\r\nPlease set JC under Options > Replicate Analysis Settings."};
}

namespace {

// AverageOfBounds, with the variance of drawn values left out (not a number) unless asked for.
AverageDraw Average(Real lo, Real hi, SimilarityCoefficient coefficient, std::int32_t drawCount,
                    RandomGenerator& random, bool withVariance) {
  assert(drawCount >= 1);
  if (lo > hi) std::swap(lo, hi);
  if (lo == hi) return {hi, 0};
  if (IsUndefinedBound(lo, coefficient)) return {lo, 0};
  if (IsUndefinedBound(hi, coefficient)) return {hi, 0};

  Real sum = 0, sumOfSquares = 0;
  if (IsDistance(coefficient)) {
    for (std::int32_t k = 0; k < drawCount; ++k) {
      const Real value = lo + (hi - lo) * random.NextReal();
      sum += value;
      sumOfSquares += value * value;
    }
  } else {
    // u = S / 2^32 lies in [lo, hi] exactly when the state S lies in [ceil(lo 2^32), floor(hi 2^32)],
    // so the rejection test runs on the raw states.
    const Real low = std::max(std::ceil(lo * kTwoTo32), Real(0));
    const Real high = std::min(std::floor(hi * kTwoTo32), kTwoTo32 - 1);
    if (low > high) return {hi, 0};
    const auto lowWord = static_cast<std::uint32_t>(low), highWord = static_cast<std::uint32_t>(high);
    if (!withVariance) {
      // Each value is a word over 2^32, and every partial sum of fewer than 2^32 of them has at
      // most 64 significant bits, so the extended sum is exact: the sum of the words, scaled.
      const std::uint64_t words = random.SumWordsWithin(lowWord, highWord, static_cast<std::uint32_t>(drawCount));
      return {static_cast<Real>(words) / kTwoTo32 / drawCount, kNotANumber};
    }
    random.DrawWordsWithin(lowWord, highWord, static_cast<std::uint32_t>(drawCount), [&](std::uint32_t word) {
      const Real value = word / kTwoTo32;
      sum += value;
      sumOfSquares += value * value;
    });
  }
  const Real mean = sum / drawCount;
  if (drawCount == 1) return {mean, kNotANumber};
  // Rounding can take the difference a little below 0 when the values are nearly equal.
  const Real variance = std::max((sumOfSquares - drawCount * mean * mean) / (drawCount - 1), Real(0));
  return {mean, variance};
}

}  // namespace

AverageDraw AverageOfBounds(Real lo, Real hi, SimilarityCoefficient coefficient, std::int32_t drawCount,
                            RandomGenerator& random) {
  return Average(lo, hi, coefficient, drawCount, random, true);
}

Status AverageMatrix(const DistanceMatrix& minimum, const DistanceMatrix& maximum, SimilarityCoefficient coefficient,
                     std::int32_t drawCount, RandomGenerator& random, DistanceMatrix& mean, DistanceMatrix* variance,
                     DistanceMatrix* standardDeviation, const RowProgress& progress) {
  if (auto checked = CheckDrawCount(drawCount); !checked) return checked;
  assert(minimum.entries.size() == maximum.entries.size());
  mean = DistanceMatrix(minimum.n);
  if (variance) *variance = DistanceMatrix(minimum.n);
  if (standardDeviation) *standardDeviation = DistanceMatrix(minimum.n);
  // A local copy lets the compiler keep the state in a register through the drawing loops.
  RandomGenerator generator = random;
  std::size_t row = 0;  // the row whose first entry comes next
  for (std::size_t k = 0; k < minimum.entries.size(); ++k) {
    if (k % 4096 == 0) KeepResponsive();
    if (progress && k == TriangleSize(row)) {
      if (!progress(row)) {
        random = generator;
        return Failure{};
      }
      ++row;
    }
    const AverageDraw draw =
        Average(minimum.entries[k], maximum.entries[k], coefficient, drawCount, generator, variance || standardDeviation);
    mean.entries[k] = draw.mean;
    if (variance) variance->entries[k] = draw.variance;
    if (standardDeviation) standardDeviation->entries[k] = std::sqrt(draw.variance);
  }
  random = generator;
  return Success();
}

}  // namespace vorn
