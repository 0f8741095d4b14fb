// The permutation kernel. Placing individual order[i] at location i gives class h the sum of
// c(order[i], order[j]) over its pairs of locations; read the other way round, the covariance
// matrix is walked in its own order and each entry (a, b) joins the class of the locations
// (s[a], s[b]) of its individuals, s the inverse of order. The covariance triangle is read once
// for a batch of permutations, a row at a time; the classes of the locations are a square of
// bytes, so each lookup is one load from a row that stays in the first-level cache.
#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>

#include "spatial/spatial_resampling.h"

namespace vorn {
namespace {

// Permutations that share a pass over the covariance triangle.
constexpr std::size_t kBatch = 4;
// Accumulator banks per permutation: consecutive pairs add into different banks, so that adds
// into the same class do not wait on each other.
constexpr std::size_t kBanks = 4;
// Pair-visits below which one thread runs (sharing costs more than it saves).
constexpr double kParallelWork = double(1 << 22);
// Pair-visits of one round, after which the progress is told.
constexpr double kRoundWork = double(1 << 27);

class LocationKernel {
 public:
  LocationKernel(const SpatialCovariance& covariance, const DistanceClasses& classes)
      : n_(covariance.n), count_(classes.Count()), stride_(classes.Count() + 1) {
    lower_.assign(covariance.lower.begin(), covariance.lower.end());
    diagonal_.assign(covariance.diagonal.begin(), covariance.diagonal.end());
    // Pairs in no class add into the spare slot after the classes'.
    const auto spare = static_cast<std::uint8_t>(count_);
    classOf_.assign(n_ * n_, spare);
    degree_.assign(n_ * count_, 0);
    for (std::size_t i = 1, k = 0; i < n_; ++i) {
      for (std::size_t j = 0; j < i; ++j, ++k) {
        const std::uint8_t h = classes.classOf[k];
        classOf_[i * n_ + j] = classOf_[j * n_ + i] = h == kNoClass ? spare : h;
        if (h == kNoClass) continue;
        degree_[i * count_ + h] += 1;
        degree_[j * count_ + h] += 1;
      }
    }
  }

  std::size_t Scratch() const { return kBatch * kBanks * stride_; }

  // r of every class for each of count inverse orders (at most kBatch), into r[b * classes + h].
  void Correlations(const std::uint32_t* const* inverses, std::size_t count, double* acc, double* r) const {
    std::fill(acc, acc + count * kBanks * stride_, 0.0);
    for (std::size_t a = 1; a < n_; ++a) {
      const double* row = lower_.data() + a * (a - 1) / 2;
      for (std::size_t p = 0; p < count; ++p) {
        const std::uint32_t* s = inverses[p];
        const std::uint8_t* locations = classOf_.data() + std::size_t{s[a]} * n_;
        double* bank0 = acc + p * kBanks * stride_;
        double* bank1 = bank0 + stride_;
        double* bank2 = bank1 + stride_;
        double* bank3 = bank2 + stride_;
        std::size_t b = 0;
        for (; b + 4 <= a; b += 4) {
          bank0[locations[s[b]]] += row[b];
          bank1[locations[s[b + 1]]] += row[b + 1];
          bank2[locations[s[b + 2]]] += row[b + 2];
          bank3[locations[s[b + 3]]] += row[b + 3];
        }
        for (; b < a; ++b) bank0[locations[s[b]]] += row[b];
      }
    }
    for (std::size_t p = 0; p < count; ++p) {
      const std::uint32_t* s = inverses[p];
      const double* bank = acc + p * kBanks * stride_;
      for (std::size_t h = 0; h < count_; ++h) {
        double denominator = 0;
        for (std::size_t a = 0; a < n_; ++a) denominator += degree_[std::size_t{s[a]} * count_ + h] * diagonal_[a];
        const double numerator = (bank[h] + bank[stride_ + h]) + (bank[2 * stride_ + h] + bank[3 * stride_ + h]);
        r[p * count_ + h] = denominator != 0 ? 2 * numerator / denominator : std::numeric_limits<double>::quiet_NaN();
      }
    }
  }

 private:
  std::size_t n_, count_, stride_;
  std::vector<double> lower_, diagonal_;
  std::vector<std::uint8_t> classOf_;  // n x n: the class of locations (i, j), the spare slot for none
  std::vector<double> degree_;         // n x classes: the pairs of each class that location i is in
};

}  // namespace

std::optional<PermutedCorrelations> PermuteLocations(const SpatialCovariance& covariance, const DistanceClasses& classes,
                                                     std::int32_t permutations, const RandomGenerator& base,
                                                     const StepProgress& roundDone) {
  const std::size_t n = covariance.n, count = classes.Count();
  const LocationKernel kernel(covariance, classes);
  PermutedCorrelations result;
  result.observed.resize(count);
  result.permuted.resize(count * static_cast<std::size_t>(permutations));
  {
    std::vector<std::uint32_t> identity(n);
    std::iota(identity.begin(), identity.end(), 0u);
    const std::uint32_t* order = identity.data();
    std::vector<double> acc(kernel.Scratch());
    kernel.Correlations(&order, 1, acc.data(), result.observed.data());
  }
  const double pairs = double(n) * double(n - 1) / 2;
  const bool parallel = double(permutations) * pairs >= kParallelWork;
  const auto round = static_cast<std::int64_t>(kBatch) *
                     static_cast<std::int64_t>(std::max(1.0, std::floor(kRoundWork / pairs / double(kBatch))));
  for (std::int64_t start = 0; start < permutations; start += round) {
    const std::int64_t end = std::min<std::int64_t>(start + round, permutations);
#pragma omp parallel if (parallel)
    {
      std::vector<std::uint32_t> orders(kBatch * n), inverses(kBatch * n);
      std::vector<double> acc(kernel.Scratch()), r(kBatch * count);
      const std::uint32_t* batch[kBatch];
#pragma omp for schedule(static)
      for (std::int64_t first = start; first < end; first += static_cast<std::int64_t>(kBatch)) {
        KeepResponsive();
        const auto size = static_cast<std::size_t>(std::min<std::int64_t>(kBatch, end - first));
        for (std::size_t b = 0; b < size; ++b) {
          std::uint32_t* order = orders.data() + b * n;
          std::uint32_t* inverse = inverses.data() + b * n;
          PermutationOrder(base, static_cast<std::uint64_t>(first) + b, order, n);
          for (std::uint32_t location = 0; location < n; ++location) inverse[order[location]] = location;
          batch[b] = inverse;
        }
        kernel.Correlations(batch, size, acc.data(), r.data());
        for (std::size_t b = 0; b < size; ++b) {
          const auto k = static_cast<std::size_t>(first) + b;
          for (std::size_t h = 0; h < count; ++h) {
            result.permuted[h * static_cast<std::size_t>(permutations) + k] = r[b * count + h];
          }
        }
      }
    }
    if (roundDone && !roundDone(static_cast<std::size_t>(end))) return std::nullopt;
  }
  return result;
}

}  // namespace vorn
