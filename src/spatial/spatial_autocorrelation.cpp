#include "spatial/spatial_autocorrelation.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "spatial/spatial_resampling.h"

namespace vorn {
namespace {

// A permuted value within this of the observed one counts as reaching it.
constexpr double kTieTolerance = 1e-10;
// A class's denominator this small beside the sizes of its terms counts as vanished.
constexpr Real kVanishing = 1e-12L;

// How many of the sorted keys are at least key - tolerance.
std::size_t AtLeast(const std::vector<double>& sorted, double key) {
  return static_cast<std::size_t>(sorted.end() - std::lower_bound(sorted.begin(), sorted.end(), key - kTieTolerance));
}

// The one-tailed p of each class (in the direction of its r, upwards for r = 0) and omega with
// its own p, from the permuted values. A permuted r that is no number never reaches the observed
// one and has P = 1 in the permuted omega.
void PermutationTests(const PermutedCorrelations& values, std::size_t permutations, SpatialAutocorrelation& result) {
  const std::size_t count = result.classes.size();
  const auto total = static_cast<Real>(permutations + 1);
  std::vector<Real> omegas(permutations, 0);
  Real omega = 0;
  bool everyR = true;
  for (std::size_t h = 0; h < count; ++h) {
    ClassAutocorrelation& c = result.classes[h];
    if (!c.r) {
      everyR = false;
      continue;
    }
    const double sign = values.observed[h] >= 0 ? 1 : -1;
    std::vector<double> keys{sign * values.observed[h]};
    const double* permuted = values.permuted.data() + h * permutations;
    for (std::size_t k = 0; k < permutations; ++k) {
      if (!std::isnan(permuted[k])) keys.push_back(sign * permuted[k]);
    }
    std::sort(keys.begin(), keys.end());
    c.p = static_cast<Real>(AtLeast(keys, sign * values.observed[h])) / total;
    omega += -2 * std::log(*c.p);
    for (std::size_t k = 0; k < permutations; ++k) {
      if (std::isnan(permuted[k])) continue;
      omegas[k] += -2 * std::log(static_cast<Real>(AtLeast(keys, sign * permuted[k])) / total);
    }
  }
  if (!everyR) return;
  const Real bar = omega - static_cast<Real>(kTieTolerance) * std::max<Real>(1, omega);
  const auto reaching = std::count_if(omegas.begin(), omegas.end(), [&](Real w) { return w >= bar; });
  result.omega = omega;
  result.pOmega = static_cast<Real>(reaching + 1) / total;
}

void Intervals(const std::vector<double>& values, std::size_t replicates, std::vector<ClassAutocorrelation>& classes,
               bool bootstrap) {
  for (std::size_t h = 0; h < classes.size(); ++h) {
    if (!classes[h].r) continue;
    const auto first = values.begin() + static_cast<std::ptrdiff_t>(h * replicates);
    const auto interval = PercentileInterval(std::vector<double>(first, first + static_cast<std::ptrdiff_t>(replicates)));
    if (!interval) continue;
    (bootstrap ? classes[h].bootLow : classes[h].nullLow) = interval->first;
    (bootstrap ? classes[h].bootHigh : classes[h].nullHigh) = interval->second;
  }
}

}  // namespace

SpatialCovariance CovarianceOf(const std::vector<Real>& squared, std::size_t n) {
  SpatialCovariance c;
  c.n = n;
  std::vector<Real> rowMean(n, 0);
  Real mean = 0;
  for (std::size_t i = 1, k = 0; i < n; ++i) {
    for (std::size_t j = 0; j < i; ++j, ++k) {
      rowMean[i] += squared[k];
      rowMean[j] += squared[k];
    }
  }
  for (Real& m : rowMean) {
    mean += m;
    m /= static_cast<Real>(n);
  }
  mean /= static_cast<Real>(n) * static_cast<Real>(n);
  c.diagonal.resize(n);
  for (std::size_t i = 0; i < n; ++i) c.diagonal[i] = rowMean[i] - mean / 2;
  c.lower.resize(squared.size());
  for (std::size_t i = 1, k = 0; i < n; ++i) {
    for (std::size_t j = 0; j < i; ++j, ++k) c.lower[k] = -(squared[k] - rowMean[i] - rowMean[j] + mean) / 2;
  }
  return c;
}

std::vector<std::optional<Real>> ClassCorrelations(const SpatialCovariance& covariance, const DistanceClasses& classes) {
  const std::size_t count = classes.Count();
  std::vector<Real> numerator(count, 0), denominator(count, 0), size(count, 0);
  for (std::size_t i = 1, k = 0; i < covariance.n; ++i) {
    for (std::size_t j = 0; j < i; ++j, ++k) {
      const std::uint8_t h = classes.classOf[k];
      if (h == kNoClass) continue;
      numerator[h] += covariance.lower[k];
      denominator[h] += covariance.diagonal[i] + covariance.diagonal[j];
      size[h] += std::fabs(covariance.diagonal[i]) + std::fabs(covariance.diagonal[j]);
    }
  }
  std::vector<std::optional<Real>> r(count);
  for (std::size_t h = 0; h < count; ++h) {
    if (std::fabs(denominator[h]) > kVanishing * size[h]) r[h] = 2 * numerator[h] / denominator[h];
  }
  return r;
}

std::optional<std::pair<Real, Real>> PercentileInterval(std::vector<double> values) {
  values.erase(std::remove_if(values.begin(), values.end(), [](double v) { return std::isnan(v); }), values.end());
  if (values.empty()) return std::nullopt;
  std::sort(values.begin(), values.end());
  const std::size_t c = values.size();
  const auto low = static_cast<std::size_t>(std::floor(0.025L * static_cast<Real>(c)));
  const auto high = static_cast<std::size_t>(std::ceil(0.975L * static_cast<Real>(c)));
  return std::pair<Real, Real>(values[std::min(low, c - 1)], values[std::max<std::size_t>(high, 1) - 1]);
}

Result<SpatialAutocorrelation> AnalyseSpatialAutocorrelation(const std::vector<Real>& squared, std::size_t n,
                                                             const DistanceClasses& classes, std::int32_t permutations,
                                                             std::int32_t bootstraps, RandomGenerator& random,
                                                             const StepProgress& progress) {
  if (n < 3) {
    return Failure{"The spatial autocorrelation needs at least 3 individuals; there are " + std::to_string(n) + "."};
  }
  if (permutations < 0 || bootstraps < 0) return Failure{"The numbers of permutations and bootstraps must not be negative."};
  if (std::any_of(squared.begin(), squared.end(), [](Real d) { return !std::isfinite(d); })) {
    return Failure{"A genetic distance is not a number."};
  }
  if (std::all_of(squared.begin(), squared.end(), [](Real d) { return d == 0; })) {
    return Failure{"Every genetic distance is 0 (the individuals do not differ): r is undefined in every class."};
  }
  const SpatialCovariance covariance = CovarianceOf(squared, n);
  SpatialAutocorrelation result;
  result.permutations = permutations;
  result.bootstraps = bootstraps;
  result.classes.resize(classes.Count());
  const auto r = ClassCorrelations(covariance, classes);
  for (std::size_t h = 0; h < r.size(); ++h) result.classes[h].r = r[h];

  const std::uint64_t permutationDraws = static_cast<std::uint64_t>(permutations) * (n - 1);
  std::uint64_t pairsInClasses = 0;
  for (std::size_t pairs : classes.pairs) pairsInClasses += pairs;
  std::size_t done = 0;
  const auto stopped = [&](std::uint64_t draws) {
    random.Skip(draws);
    return Failure{""};
  };
  if (permutations > 0) {
    const auto permuted = PermuteLocations(covariance, classes, permutations, random, [&](std::size_t count) {
      done = count;
      return !progress || progress(count);
    });
    if (!permuted) return stopped(static_cast<std::uint64_t>(done) * (n - 1));
    PermutationTests(*permuted, static_cast<std::size_t>(permutations), result);
    Intervals(permuted->permuted, static_cast<std::size_t>(permutations), result.classes, false);
  }
  if (bootstraps > 0) {
    RandomGenerator base = random;
    base.Skip(permutationDraws);
    const auto resampled = BootstrapPairs(covariance, classes, bootstraps, base, [&](std::size_t count) {
      done = count;
      return !progress || progress(static_cast<std::size_t>(permutations) + count);
    });
    if (!resampled) return stopped(permutationDraws + static_cast<std::uint64_t>(done) * pairsInClasses);
    Intervals(*resampled, static_cast<std::size_t>(bootstraps), result.classes, true);
  }
  random.Skip(permutationDraws + static_cast<std::uint64_t>(bootstraps) * pairsInClasses);
  return result;
}

}  // namespace vorn
