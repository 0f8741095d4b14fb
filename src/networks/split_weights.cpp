#include "split_weights.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

#include "circular_splits.h"
#include "core/undefined_pairs.h"

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
std::vector<std::size_t> Peaks(std::size_t n, const std::vector<Real>& g, Wanted wanted) {
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

// The sum of u[k] v[k], k < count, in four running sums: the rows of L are long, and one sum
// would wait on each addition.
double Dot(const double* u, const double* v, std::size_t count) {
  double s0 = 0, s1 = 0, s2 = 0, s3 = 0;
  std::size_t k = 0;
  for (; k + 4 <= count; k += 4) {
    s0 += u[k] * v[k];
    s1 += u[k + 1] * v[k + 1];
    s2 += u[k + 2] * v[k + 2];
    s3 += u[k + 3] * v[k + 3];
  }
  for (; k < count; ++k) s0 += u[k] * v[k];
  return (s0 + s1) + (s2 + s3);
}

// The factor L is held in doubles: half the memory of Real to stream through at every solve,
// and its entries need no more, since the solution that counts is refined in Real (Refine).
class ActiveSet {
 public:
  ActiveSet(std::size_t n, const std::vector<Real>& d)
      : n_(n), d_(d), right_(SeparatedSums(n, d)), first_(right_.size()), last_(right_.size()) {
    for (std::size_t j = 1; j < n; ++j) {
      for (std::size_t i = 0; i < j; ++i) first_[StrictPairIndex(j, i)] = i + 1, last_[StrictPairIndex(j, i)] = j;
    }
  }

  // A^T (d - A x) with the held entries set to 0.
  std::vector<Real> FreeGradient(const std::vector<Real>& x) const {
    std::vector<Real> residual = SplitDistances(n_, x);
    for (std::size_t k = 0; k < residual.size(); ++k) residual[k] = d_[k] - residual[k];
    std::vector<Real> g = SeparatedSums(n_, residual);
    return g;
  }

  // The pairs that splits s and t both separate: the entry of A^T A.
  Real Both(std::size_t s, std::size_t t) const {
    const std::size_t sa = last_[s] - first_[s] + 1, sb = last_[t] - first_[t] + 1;
    const std::size_t lo = std::max(first_[s], first_[t]), hi = std::min(last_[s], last_[t]);
    const std::size_t both = hi >= lo ? hi - lo + 1 : 0;
    return static_cast<Real>(both * (n_ - sa - sb + both) + (sa - both) * (sb - both));
  }

  // Frees split s: a row more of the Cholesky factor L of the free splits' normal equations.
  void Free(std::size_t s) {
    std::vector<double> row(free_.size() + 1);
    double square = static_cast<double>(Both(s, s));
    for (std::size_t a = 0; a < free_.size(); ++a) {
      row[a] = (static_cast<double>(Both(s, free_[a])) - Dot(factor_[a].data(), row.data(), a)) / factor_[a][a];
      square -= row[a] * row[a];
    }
    row.back() = std::sqrt(square);
    forward_.push_back((static_cast<double>(right_[s]) - Dot(row.data(), forward_.data(), free_.size())) / row.back());
    free_.push_back(s);
    factor_.push_back(std::move(row));
  }

  // Holds the free split at position r again: its row and column leave L, and the rows below
  // take their column back by a rank-one update of Cholesky, a rotation per column, applied row
  // by row (each row of L is one block of memory).
  void Hold(std::size_t r) {
    free_.erase(free_.begin() + static_cast<std::ptrdiff_t>(r));
    factor_.erase(factor_.begin() + static_cast<std::ptrdiff_t>(r));
    std::vector<double> cosines(free_.size()), sines(free_.size());
    for (std::size_t i = r; i < free_.size(); ++i) {
      std::vector<double>& row = factor_[i];
      double x = row[r];
      row.erase(row.begin() + static_cast<std::ptrdiff_t>(r));
      for (std::size_t k = r; k < i; ++k) {
        row[k] = (row[k] + sines[k] * x) / cosines[k];
        x = cosines[k] * x - sines[k] * row[k];
      }
      const double diagonal = row[i];
      const double root = std::sqrt(diagonal * diagonal + x * x);
      cosines[i] = root / diagonal;
      sines[i] = x / diagonal;
      row[i] = root;
    }
    // The rows from r on changed: so does the forward solution from there.
    forward_.resize(r);
    for (std::size_t a = r; a < free_.size(); ++a) {
      forward_.push_back((static_cast<double>(right_[free_[a]]) - Dot(factor_[a].data(), forward_.data(), a)) /
                         factor_[a][a]);
    }
  }

  // The least squares of the free splits, the held ones at 0, from the factor: the forward
  // solution of L z = A^T d, then L^T x = z.
  std::vector<Real> SolveFree() const {
    std::vector<double> z = forward_;
    Backward(z);
    std::vector<Real> x(right_.size(), 0);
    for (std::size_t a = 0; a < z.size(); ++a) x[free_[a]] = z[a];
    return x;
  }

  // x, the least squares of the free splits as SolveFree gives it, one step of iterative
  // refinement nearer to it in Real: x + (A_F^T A_F)^-1 A_F^T (d - A x), where g = A^T (d - A x).
  std::vector<Real> Refine(std::vector<Real> x, const std::vector<Real>& g) const {
    const std::size_t m = free_.size();
    std::vector<double> z(m);
    for (std::size_t a = 0; a < m; ++a) z[a] = (static_cast<double>(g[free_[a]]) - Dot(factor_[a].data(), z.data(), a)) / factor_[a][a];
    Backward(z);
    for (std::size_t a = 0; a < m; ++a) x[free_[a]] += z[a];
    return x;
  }

  std::size_t FreeCount() const { return free_.size(); }

  // Solves L^T x = z in place, column by column of L^T, that is row by row of L.
  void Backward(std::vector<double>& z) const {
    for (std::size_t a = z.size(); a-- > 0;) {
      const std::vector<double>& row = factor_[a];
      z[a] /= row[a];
      const double za = z[a];
      for (std::size_t c = 0; c < a; ++c) z[c] -= row[c] * za;
    }
  }

  // Holds every free split marked in hold.
  void HoldAll(const std::vector<char>& hold) {
    for (std::size_t r = free_.size(); r-- > 0;) {
      if (hold[free_[r]]) Hold(r);
    }
  }

 private:
  std::size_t n_;
  const std::vector<Real>& d_;
  std::vector<Real> right_;  // A^T d
  std::vector<std::size_t> first_, last_;  // each split's places
  std::vector<std::size_t> free_;  // the free splits, in the order of L's rows
  std::vector<std::vector<double>> factor_;  // L, row a of a + 1 entries
  std::vector<double> forward_;              // L^-1 of the free splits' A^T d, kept with L
};

}  // namespace

Result<SplitWeights> FitSplitWeights(std::size_t n, const std::vector<Real>& d) {
  SplitWeights result;
  std::vector<Real> x = ExactSplitWeights(n, d);
  const std::size_t count = x.size();
  if (std::any_of(x.begin(), x.end(), [](Real w) { return w < 0; })) {
    ActiveSet method(n, d);
    // From all splits held at zero, as Lawson & Hanson start: the free set grows to the few
    // splits of positive weight, and each solve starts from the last.
    std::vector<char> held(count, 1);
    std::fill(x.begin(), x.end(), Real(0));
    // The gradient's tolerance: the rounding of sums of A^T d.
    const std::vector<Real> atd = SeparatedSums(n, d);
    Real magnitude = 0;
    for (Real v : atd) magnitude = std::max(magnitude, std::fabs(v));
    const Real tolerance = 1e-13L * std::max(magnitude, Real(1e-300L));
    const std::size_t bound = 20 * count + 100;
    // The least squares of the free splits, then back along the segment to each solution with
    // negative weights until one has none.
    auto settle = [&](std::vector<Real> z) {
      bool holds = false;
      for (;;) {
        Real alpha = 1;
        std::size_t blocking = count;
        for (std::size_t k = 0; k < count; ++k) {
          if (!held[k] && z[k] < 0) {
            const Real a = x[k] / (x[k] - z[k]);
            if (blocking == count || a < alpha) alpha = a, blocking = k;
          }
        }
        if (blocking == count) break;
        std::vector<char> hold(count, 0);
        for (std::size_t k = 0; k < count; ++k) {
          if (held[k]) continue;
          x[k] += alpha * (z[k] - x[k]);
          if (k == blocking || (z[k] < 0 && x[k] <= 0)) held[k] = 1, hold[k] = 1, x[k] = 0;
        }
        method.HoldAll(hold);
        holds = true;
        z = method.SolveFree();
      }
      x = std::move(z);
      return holds;
    };
    std::vector<char> refused(count, 0);  // freed alone and at once back at zero, since the last step
    std::size_t width = 1;                // splits freed together in a round
    std::size_t refinements = 0;          // of x, since a split was last freed or held
    bool ended = false;
    for (std::size_t round = 0; round < bound && !ended; ++round) {
      const std::vector<Real> g = method.FreeGradient(x);  // minus half the gradient
      std::vector<std::size_t> rising = Peaks(n, g, [&](std::size_t k) { return held[k] && !refused[k] && g[k] > tolerance; });
      if (rising.empty()) {
        // Kuhn-Tucker holds at the double solution: refined twice in a row without a split
        // held, the weights are those of the free splits to the rounding of Real.
        if (refinements == kRefinements) {
          ended = true;
          break;
        }
        refinements = settle(method.Refine(x, g)) ? 0 : refinements + 1;
        continue;
      }
      refinements = 0;
      const std::size_t take = std::min(width, rising.size());
      std::partial_sort(rising.begin(), rising.begin() + static_cast<std::ptrdiff_t>(take), rising.end(),
                        [&](std::size_t a, std::size_t b) { return g[a] > g[b] || (g[a] == g[b] && a < b); });
      rising.resize(take);
      for (std::size_t k : rising) held[k] = 0, method.Free(k);
      std::vector<Real> z = method.SolveFree();
      if (std::all_of(rising.begin(), rising.end(), [&](std::size_t k) { return z[k] <= 0; })) {
        std::vector<char> hold(count, 0);
        for (std::size_t k : rising) held[k] = 1, hold[k] = 1;
        method.HoldAll(hold);
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
