#include "networks/split_weights.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "core/undefined_pairs.h"
#include "networks/circular_splits.h"
#include "networks/free_split_factor.h"

namespace vorn {
namespace {

// A round frees the held splits of the steepest gradients, one for each kFreedShare free ones
// (at least one): the free set grows in a few dozen rounds, each a gradient, instead of one
// round per split. The gradient is smooth over neighbouring splits (i +- 1, j +- 1), so of a
// hill of them only its peak is freed: splits freed together then seldom overlap so much that
// some are held again at once.
constexpr std::size_t kFreedShare = 20;

// Refinements of the last solution before the method ends.
constexpr std::size_t kRefinements = 2;

// The splits that may be freed (wanted) whose gradient no neighbouring split exceeds; all that
// may be freed when none is such a peak.
template <typename Wanted>
std::vector<std::size_t> Peaks(std::size_t n, const std::vector<double>& g, Wanted wanted) {
  std::vector<std::size_t> peaks;
  for (std::size_t j = 1; j < n; ++j) {
    for (std::size_t i = 0; i < j; ++i) {
      const std::size_t k = StrictPairIndex(j, i);
      if (!wanted(k)) continue;
      bool peak = true;
      for (std::size_t a = i == 0 ? 0 : i - 1; a <= i + 1 && peak; ++a) {
        for (std::size_t b = j - 1; b <= j + 1 && b < n; ++b) {
          if (a < b && (a != i || b != j) && g[StrictPairIndex(b, a)] > g[k]) peak = false;
        }
      }
      if (peak) peaks.push_back(k);
    }
  }
  if (peaks.empty()) {
    for (std::size_t k = 0; k < g.size(); ++k) {
      if (wanted(k)) peaks.push_back(k);
    }
  }
  return peaks;
}

// A^T (d - A x): minus half the gradient of the squares. Estimated in double while the rounds
// choose which splits to free (the rounding of its sums, about n^2 units of the last place of the
// largest distance, lies far below the tolerance); exact in Real for the refinement and the
// Kuhn-Tucker check that end the method.
class FallingGradient {
 public:
  FallingGradient(std::size_t n, const std::vector<Real>& d) : n_(n), d_(d), estimateD_(d.begin(), d.end()) {}

  std::vector<double> Estimate(const std::vector<Real>& x) const {
    std::vector<double> residual = SplitDistances(n_, std::vector<double>(x.begin(), x.end()));
    for (std::size_t k = 0; k < residual.size(); ++k) residual[k] = estimateD_[k] - residual[k];
    return SeparatedSums(n_, residual);
  }

  std::vector<Real> Exact(const std::vector<Real>& x) const { return ResidualGradient(n_, d_, x); }

 private:
  std::size_t n_;
  const std::vector<Real>& d_;
  std::vector<double> estimateD_;
};

}  // namespace

Result<SplitWeights> FitSplitWeights(std::size_t n, const std::vector<Real>& d,
                                     const std::function<bool(std::size_t round)>& onRound) {
  SplitWeights result;
  std::vector<Real> x = ExactSplitWeights(n, d);
  const std::size_t count = x.size();
  if (std::any_of(x.begin(), x.end(), [](Real w) { return w < 0; })) {
    const std::vector<Real> atd = SeparatedSums(n, d);
    FreeSplitFactor method(n, atd);
    // From all splits held at zero, as Lawson & Hanson start: the free set grows to the few
    // splits of positive weight, and each solve starts from the last.
    std::vector<char> held(count, 1);
    std::fill(x.begin(), x.end(), Real(0));
    // The gradient's tolerance: the rounding of sums of A^T d.
    Real magnitude = 0;
    for (Real v : atd) magnitude = std::max(magnitude, std::fabs(v));
    const double tolerance = static_cast<double>(1e-13L * std::max(magnitude, Real(1e-300L)));
    const FallingGradient gradient(n, d);
    const std::size_t bound = 20 * count + 100;
    // The least squares of the free splits, then back along the segment to each solution with
    // negative weights until one has none.
    // z holds the weights of the free splits in the order of the factor.
    auto settle = [&](std::vector<Real> z) {
      bool holds = false;
      for (;;) {
        const std::vector<std::size_t>& free = method.FreeSplits();
        Real alpha = 1;
        std::size_t blocking = count;  // a split
        for (std::size_t a = 0; a < free.size(); ++a) {
          const std::size_t k = free[a];
          if (z[a] < 0) {
            const Real step = x[k] / (x[k] - z[a]);
            if (blocking == count || step < alpha || (step == alpha && k < blocking)) alpha = step, blocking = k;
          }
        }
        if (blocking == count) break;
        std::vector<char> hold(free.size(), 0);
        for (std::size_t a = 0; a < free.size(); ++a) {
          const std::size_t k = free[a];
          x[k] += alpha * (z[a] - x[k]);
          if (k == blocking || (z[a] < 0 && x[k] <= 0)) held[k] = 1, hold[a] = 1, x[k] = 0;
        }
        method.HoldPositions(hold);
        holds = true;
        z = method.Solve();
      }
      const std::vector<std::size_t>& free = method.FreeSplits();
      for (std::size_t a = 0; a < free.size(); ++a) x[free[a]] = z[a];
      return holds;
    };
    std::vector<char> refused(count, 0);  // freed alone and at once back at zero, since the last step
    std::size_t width = 1;                // splits freed together in a round
    std::size_t refinements = 0;          // of x, since a split was last freed or held
    bool exact = false;                   // the gradient in Real: once the estimate frees no split
    bool ended = false;
    for (std::size_t r = 0; r < bound && !ended; ++r) {
      if (onRound && !onRound(r)) return Failure{"The split weights were stopped; no NeighborNet was built."};
      std::vector<Real> exactG;
      if (exact) exactG = gradient.Exact(x);
      const std::vector<double> g = exact ? std::vector<double>(exactG.begin(), exactG.end()) : gradient.Estimate(x);
      std::vector<std::size_t> rising = Peaks(n, g, [&](std::size_t k) { return held[k] && !refused[k] && g[k] > tolerance; });
      if (rising.empty()) {
        if (!exact) {
          exact = true;
          continue;
        }
        // Kuhn-Tucker holds at the double solution: refined twice in a row without a split
        // held, the weights are those of the free splits to the rounding of Real.
        if (refinements == kRefinements) {
          ended = true;
          break;
        }
        refinements = settle(method.Refined(x, exactG)) ? 0 : refinements + 1;
        continue;
      }
      refinements = 0;
      exact = false;
      const std::size_t take = std::min(width, rising.size());
      std::partial_sort(rising.begin(), rising.begin() + static_cast<std::ptrdiff_t>(take), rising.end(),
                        [&](std::size_t a, std::size_t b) { return g[a] > g[b] || (g[a] == g[b] && a < b); });
      rising.resize(take);
      for (std::size_t k : rising) held[k] = 0;
      method.Free(rising);
      std::vector<Real> z = method.Solve();
      // The freed splits are the factor's last rows.
      const std::size_t freedFrom = method.FreeCount() - take;
      if (std::all_of(z.begin() + static_cast<std::ptrdiff_t>(freedFrom), z.end(), [](Real w) { return w <= 0; })) {
        std::vector<char> hold(method.FreeCount(), 0);
        std::fill(hold.begin() + static_cast<std::ptrdiff_t>(freedFrom), hold.end(), 1);
        for (std::size_t k : rising) held[k] = 1;
        method.HoldPositions(hold);
        if (take == 1) refused[rising[0]] = 1;  // the gradient's sign was the rounding's
        width = 1;
        continue;
      }
      std::fill(refused.begin(), refused.end(), 0);
      settle(std::move(z));
      width = std::max<std::size_t>(1, method.FreeCount() / kFreedShare);
    }
    if (!ended) {
      return Failure{"The split weights of " + std::to_string(n) +
                     " individuals did not settle in the least squares; no NeighborNet was built."};
    }
  }
  const std::vector<Real> fitted = SplitDistances(n, x);
  Real squares = 0;
  for (std::size_t k = 0; k < count; ++k) {
    result.residual += (d[k] - fitted[k]) * (d[k] - fitted[k]);
    squares += d[k] * d[k];
  }
  result.fit = squares > 0 ? 100 * (1 - result.residual / squares) : Real(100);
  result.weights = std::move(x);
  return result;
}

}  // namespace vorn
