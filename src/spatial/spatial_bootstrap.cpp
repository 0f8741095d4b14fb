// The bootstrap kernel: the pairs of each class laid out one class after another, each with its
// numerator term c_ij and its denominator term c_ii + c_jj, so that a drawn pair costs two loads
// from its class's block.
#include <algorithm>
#include <cmath>
#include <limits>

#include "spatial/spatial_resampling.h"

namespace vorn {
namespace {

constexpr double kParallelWork = double(1 << 20);
constexpr double kRoundWork = double(1 << 25);

struct ClassPairs {
  std::vector<std::size_t> start;  // class h at [start[h], start[h + 1])
  std::vector<double> numerator, denominator;
};

ClassPairs LayOut(const SpatialCovariance& covariance, const DistanceClasses& classes) {
  const std::size_t count = classes.Count();
  ClassPairs pairs;
  pairs.start.assign(count + 1, 0);
  for (std::size_t h = 0; h < count; ++h) pairs.start[h + 1] = pairs.start[h] + classes.pairs[h];
  pairs.numerator.resize(pairs.start[count]);
  pairs.denominator.resize(pairs.start[count]);
  std::vector<std::size_t> next(pairs.start.begin(), pairs.start.end() - 1);
  for (std::size_t i = 1, k = 0; i < covariance.n; ++i) {
    for (std::size_t j = 0; j < i; ++j, ++k) {
      const std::uint8_t h = classes.classOf[k];
      if (h == kNoClass) continue;
      const std::size_t t = next[h]++;
      pairs.numerator[t] = static_cast<double>(covariance.lower[k]);
      pairs.denominator[t] = static_cast<double>(covariance.diagonal[i] + covariance.diagonal[j]);
    }
  }
  return pairs;
}

}  // namespace

std::optional<std::vector<double>> BootstrapPairs(const SpatialCovariance& covariance, const DistanceClasses& classes,
                                                  std::int32_t bootstraps, const RandomGenerator& base,
                                                  const StepProgress& roundDone) {
  const ClassPairs pairs = LayOut(covariance, classes);
  const std::size_t count = classes.Count();
  const auto total = static_cast<std::uint64_t>(pairs.start[count]);
  const auto replicates = static_cast<std::size_t>(bootstraps);
  std::vector<double> r(count * replicates);
  const bool parallel = double(bootstraps) * double(total) >= kParallelWork;
  const auto round = static_cast<std::int64_t>(std::max(1.0, std::floor(kRoundWork / std::max(1.0, double(total)))));
  for (std::int64_t start = 0; start < bootstraps; start += round) {
    const std::int64_t end = std::min<std::int64_t>(start + round, bootstraps);
#pragma omp parallel for schedule(static) if (parallel)
    for (std::int64_t b = start; b < end; ++b) {
      KeepResponsive();
      RandomGenerator draw = base;
      draw.Skip(static_cast<std::uint64_t>(b) * total);
      for (std::size_t h = 0; h < count; ++h) {
        const double* numerator = pairs.numerator.data() + pairs.start[h];
        const double* denominator = pairs.denominator.data() + pairs.start[h];
        const auto m = static_cast<std::uint32_t>(pairs.start[h + 1] - pairs.start[h]);
        double sumNumerator = 0, sumDenominator = 0;
        for (std::uint32_t t = 0; t < m; ++t) {
          const std::uint32_t drawn = draw.NextBelow(m);
          sumNumerator += numerator[drawn];
          sumDenominator += denominator[drawn];
        }
        r[h * replicates + static_cast<std::size_t>(b)] =
            sumDenominator != 0 ? 2 * sumNumerator / sumDenominator : std::numeric_limits<double>::quiet_NaN();
      }
    }
    if (roundDone && !roundDone(static_cast<std::size_t>(end))) return std::nullopt;
  }
  return r;
}

}  // namespace vorn
