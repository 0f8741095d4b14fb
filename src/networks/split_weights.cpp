#include "split_weights.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

#include "circular_splits.h"
#include "core/undefined_pairs.h"

namespace vorn {
namespace {

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
    std::vector<Real> row(free_.size() + 1);
    Real square = Both(s, s);
    for (std::size_t a = 0; a < free_.size(); ++a) {
      Real sum = Both(s, free_[a]);
      for (std::size_t c = 0; c < a; ++c) sum -= factor_[a][c] * row[c];
      row[a] = sum / factor_[a][a];
      square -= row[a] * row[a];
    }
    row.back() = std::sqrt(square);
    free_.push_back(s);
    factor_.push_back(std::move(row));
  }

  // Holds the free split at position r again: its row and column leave L, and the rows below
  // take their column back by a rank-one update of Cholesky.
  void Hold(std::size_t r) {
    free_.erase(free_.begin() + static_cast<std::ptrdiff_t>(r));
    factor_.erase(factor_.begin() + static_cast<std::ptrdiff_t>(r));
    std::vector<Real> x(free_.size(), 0);
    for (std::size_t i = r; i < free_.size(); ++i) {
      x[i] = factor_[i][r];
      factor_[i].erase(factor_[i].begin() + static_cast<std::ptrdiff_t>(r));
    }
    for (std::size_t k = r; k < free_.size(); ++k) {
      const Real diagonal = factor_[k][k];
      const Real root = std::sqrt(diagonal * diagonal + x[k] * x[k]);
      const Real c = root / diagonal, s = x[k] / diagonal;
      factor_[k][k] = root;
      for (std::size_t i = k + 1; i < free_.size(); ++i) {
        factor_[i][k] = (factor_[i][k] + s * x[i]) / c;
        x[i] = c * x[i] - s * factor_[i][k];
      }
    }
  }

  // The least squares of the free splits, the held ones at 0, from the factor.
  std::vector<Real> SolveFree() const {
    const std::size_t m = free_.size();
    std::vector<Real> z(m);
    for (std::size_t a = 0; a < m; ++a) {
      Real sum = right_[free_[a]];
      for (std::size_t c = 0; c < a; ++c) sum -= factor_[a][c] * z[c];
      z[a] = sum / factor_[a][a];
    }
    for (std::size_t a = m; a-- > 0;) {
      Real sum = z[a];
      for (std::size_t c = a + 1; c < m; ++c) sum -= factor_[c][a] * z[c];
      z[a] = sum / factor_[a][a];
    }
    std::vector<Real> x(right_.size(), 0);
    for (std::size_t a = 0; a < m; ++a) x[free_[a]] = z[a];
    return x;
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
  std::vector<std::vector<Real>> factor_;  // L, row a of a + 1 entries
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
          if (k == blocking || x[k] <= 0) held[k] = 1, hold[k] = 1, x[k] = 0;
        }
        method.HoldAll(hold);
        z = method.SolveFree();
      }
      x = std::move(z);
    };
    std::vector<char> refused(count, 0);  // freed and at once back at zero, since the last step
    bool ended = false;
    for (std::size_t round = 0; round < bound && !ended; ++round) {
      const std::vector<Real> g = method.FreeGradient(x);  // minus half the gradient
      std::size_t freed = count;
      for (std::size_t k = 0; k < count; ++k) {
        if (held[k] && !refused[k] && g[k] > tolerance && (freed == count || g[k] > g[freed])) freed = k;
      }
      if (freed == count) {
        ended = true;
        break;
      }
      held[freed] = 0;
      method.Free(freed);
      std::vector<Real> z = method.SolveFree();
      if (z[freed] <= 0) {
        held[freed] = 1;  // the gradient's sign was the rounding's
        std::vector<char> hold(count, 0);
        hold[freed] = 1;
        method.HoldAll(hold);
        refused[freed] = 1;
        continue;
      }
      std::fill(refused.begin(), refused.end(), 0);
      settle(std::move(z));
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
