#include "population/mantel_test.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <string>

namespace vorn {
namespace {

constexpr Real kTieTolerance = 1e-10L;
// Pairs below which one thread runs the permutations (sharing costs more than it saves).
constexpr double kParallelWork = double(1 << 22);
// Pair products of one round of permutations, after which the progress is told.
constexpr double kRoundWork = double(1 << 26);
// Permutations that share a pass over the pairs.
constexpr std::size_t kBatch = 4;

struct Moments {
  Real mean = 0;
  Real squares = 0;  // sum of squared deviations from the mean
};

Moments MomentsOf(const std::vector<Real>& values) {
  Moments m;
  for (Real v : values) m.mean += v;
  m.mean /= static_cast<Real>(values.size());
  for (Real v : values) m.squares += (v - m.mean) * (v - m.mean);
  return m;
}

// The first matrix centred as a full square of doubles (row i of the square is contiguous, so
// that a permuted row is read from one place). The second is centred a row at a time as a pass
// reaches it, so that no second copy of it is held.
struct Kernel {
  std::size_t n = 0;
  std::vector<double> square;
  const std::vector<Real>* second = nullptr;
  Real meanSecond = 0;

  // For each of count orders (at most kBatch), the sum over i > j of second(i, j) centred *
  // square(order[i], order[j]). The orders share each pass over the second matrix, whose row is
  // centred into pairs (n values) once for all of them; each sum is formed in the same order as
  // it would be alone.
  void Products(const std::uint32_t* const* orders, std::size_t count, double* sums, double* pairs) const {
    std::fill(sums, sums + count, 0.0);
    for (std::size_t i = 1; i < n; ++i) {
      const Real* source = second->data() + i * (i - 1) / 2;
      for (std::size_t j = 0; j < i; ++j) pairs[j] = static_cast<double>(source[j] - meanSecond);
      for (std::size_t b = 0; b < count; ++b) {
        const std::uint32_t* order = orders[b];
        const double* row = square.data() + std::size_t{order[i]} * n;
        double part[4] = {0, 0, 0, 0};
        std::size_t j = 0;
        for (; j + 4 <= i; j += 4) {
          part[0] += pairs[j] * row[order[j]];
          part[1] += pairs[j + 1] * row[order[j + 1]];
          part[2] += pairs[j + 2] * row[order[j + 2]];
          part[3] += pairs[j + 3] * row[order[j + 3]];
        }
        for (; j < i; ++j) part[0] += pairs[j] * row[order[j]];
        sums[b] += (part[0] + part[1]) + (part[2] + part[3]);
      }
    }
  }
};

Kernel MakeKernel(const std::vector<Real>& first, const std::vector<Real>& second, std::size_t n, Real meanFirst,
                  Real meanSecond) {
  Kernel kernel;
  kernel.n = n;
  kernel.square.assign(n * n, 0);
  kernel.second = &second;
  kernel.meanSecond = meanSecond;
  for (std::size_t i = 1, k = 0; i < n; ++i) {
    for (std::size_t j = 0; j < i; ++j, ++k) {
      kernel.square[i * n + j] = kernel.square[j * n + i] = static_cast<double>(first[k] - meanFirst);
    }
  }
  return kernel;
}

}  // namespace

Result<MantelResult> MantelTest(const std::vector<Real>& first, const std::vector<Real>& second, std::size_t n,
                                const std::string& firstName, const std::string& secondName,
                                std::int32_t permutations, RandomGenerator& random, const StepProgress& progress) {
  if (n < 3) {
    return Failure{"The Mantel test needs at least 3 objects (3 pairs of distances); there are " + std::to_string(n) +
                   "."};
  }
  if (permutations < 0) return Failure{"The number of permutations must not be negative."};
  for (const auto* values : {&first, &second}) {
    if (std::any_of(values->begin(), values->end(), [](Real v) { return !std::isfinite(v); })) {
      return Failure{"The " + (values == &first ? firstName : secondName) + " holds a value that is not a number."};
    }
  }
  const Moments x = MomentsOf(first), y = MomentsOf(second);
  for (const auto& [moments, name] : {std::pair{x, firstName}, std::pair{y, secondName}}) {
    if (!(moments.squares > 0)) {
      return Failure{"The " + name + " is the same for every pair, so their correlation r is undefined."};
    }
  }
  MantelResult result;
  result.pairs = first.size();
  result.permutations = permutations;
  Real products = 0;
  for (std::size_t k = 0; k < first.size(); ++k) products += (first[k] - x.mean) * (second[k] - y.mean);
  const Real scale = std::sqrt(x.squares * y.squares);
  result.r = products / scale;
  result.slope = products / y.squares;
  result.intercept = x.mean - result.slope * y.mean;
  if (permutations == 0) return result;

  const Kernel kernel = MakeKernel(first, second, n, x.mean, y.mean);
  std::vector<std::uint32_t> identity(n);
  std::iota(identity.begin(), identity.end(), 0u);
  // The observed sum from the same kernel, so that the identity permutation ties with it exactly.
  const std::uint32_t* observedOrder = identity.data();
  double observed = 0;
  std::vector<double> observedPairs(n);
  kernel.Products(&observedOrder, 1, &observed, observedPairs.data());
  const double bar = observed - static_cast<double>(kTieTolerance * scale);
  const double pairs = static_cast<double>(first.size());
  const bool parallel = double(permutations) * pairs >= kParallelWork;
  // Rounds of whole batches, so that only the last batch of the test may be short.
  const auto round = static_cast<std::int64_t>(kBatch) *
                     static_cast<std::int64_t>(std::max(1.0, std::floor(kRoundWork / pairs / double(kBatch))));
  const RandomGenerator base = random;
  const std::uint64_t draws = n - 1;
  std::int64_t atLeast = 0, done = 0;
  for (std::int64_t start = 0; start < permutations; start += round) {
    const std::int64_t end = std::min<std::int64_t>(start + round, permutations);
#pragma omp parallel if (parallel) reduction(+ : atLeast)
    {
      std::vector<std::uint32_t> orders(kBatch * n);
      std::vector<double> pairRow(n);
      const std::uint32_t* batch[kBatch];
      double sums[kBatch];
#pragma omp for schedule(static)
      for (std::int64_t batchStart = start; batchStart < end; batchStart += static_cast<std::int64_t>(kBatch)) {
        KeepResponsive();
        const auto count = static_cast<std::size_t>(std::min<std::int64_t>(kBatch, end - batchStart));
        for (std::size_t b = 0; b < count; ++b) {
          std::uint32_t* order = orders.data() + b * n;
          PermutationOrder(base, static_cast<std::uint64_t>(batchStart) + b, order, n);
          batch[b] = order;
        }
        kernel.Products(batch, count, sums, pairRow.data());
        for (std::size_t b = 0; b < count; ++b) atLeast += sums[b] >= bar;
      }
    }
    done = end;
    if (progress && !progress(static_cast<std::size_t>(done)) && done < permutations) {
      random.Skip(static_cast<std::uint64_t>(done) * draws);
      return Failure{""};
    }
  }
  random.Skip(static_cast<std::uint64_t>(permutations) * draws);
  result.p = static_cast<Real>(atLeast + 1) / static_cast<Real>(permutations + 1);
  return result;
}

}  // namespace vorn
