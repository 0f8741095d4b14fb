// The Average treatment of missing scores: per pair, the mean (and spread) of JC random values
// drawn between the pair's Minimum-similarity and Maximum-similarity values. The draws come
// from the one generator, pair after pair in storage order, so this work stays serial.
#pragma once

#include <functional>

#include "core/distance_matrix.h"
#include "core/random_generator.h"
#include "core/result.h"
#include "core/settings.h"

namespace vorn {

struct AverageDraw {
  Real mean = 0;
  Real variance = 0;
};

// Refuses a draw count below 1 with a message that says how to change it.
Status CheckDrawCount(std::int32_t drawCount);

// The average of one pair with bounds lo and hi (exchanged when lo > hi):
// - equal bounds: that value, variance 0, nothing drawn;
// - an undefined bound (not a number, or the Nei-Li -1): that bound, variance 0, nothing drawn;
// - otherwise drawCount accepted values: for Jaccard, Dice and SMC a uniform u is accepted when
//   lo <= u <= hi and drawn again otherwise; for the distances lo + (hi - lo) u is always
//   accepted. The variance of a single draw is not a number; a bound pair too close for any
//   value of the generator to fall between them counts as equal.
// drawCount must be at least 1 (CheckDrawCount).
AverageDraw AverageOfBounds(Real lo, Real hi, SimilarityCoefficient coefficient, std::int32_t drawCount,
                            RandomGenerator& random);

// Called with the number of rows completed; false stops the averaging.
using RowProgress = std::function<bool(std::size_t rowsDone)>;

// Averages every entry of the two bound matrices (same size) in storage order: the mean into
// mean, and when asked the variance and the standard deviation. Refuses a draw count below 1;
// a stop asked by progress gives a failure without message.
Status AverageMatrix(const DistanceMatrix& minimum, const DistanceMatrix& maximum, SimilarityCoefficient coefficient,
                     std::int32_t drawCount, RandomGenerator& random, DistanceMatrix& mean,
                     DistanceMatrix* variance = nullptr, DistanceMatrix* standardDeviation = nullptr,
                     const RowProgress& progress = {});

}  // namespace vorn
