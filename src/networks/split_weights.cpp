#include "split_weights.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

#include "circular_splits.h"

namespace vorn {
namespace {

class ActiveSet {
 public:
  ActiveSet(std::size_t n, const std::vector<Real>& d) : n_(n), d_(d), right_(SeparatedSums(n, d)) {}

  // A^T (d - A x) with the held entries set to 0.
  std::vector<Real> FreeGradient(const std::vector<Real>& x) const {
    std::vector<Real> residual = SplitDistances(n_, x);
    for (std::size_t k = 0; k < residual.size(); ++k) residual[k] = d_[k] - residual[k];
    std::vector<Real> g = SeparatedSums(n_, residual);
    return g;
  }

  // The least squares of the free splits, the held ones at 0: the normal equations of the free
  // columns, whose entries are counts (the pairs that both splits separate), by Cholesky.
  std::vector<Real> SolveFree(const std::vector<char>& held) const {
    std::vector<std::size_t> free;
    for (std::size_t k = 0; k < held.size(); ++k) {
      if (!held[k]) free.push_back(k);
    }
    const std::size_t m = free.size();
    std::vector<std::size_t> first(m), last(m);
    for (std::size_t a = 0; a < m; ++a) {
      std::size_t j = 1;
      while ((j + 1) * j / 2 <= free[a]) ++j;
      first[a] = free[a] - j * (j - 1) / 2 + 1;
      last[a] = j;
    }
    std::vector<Real> g(m * m);
    for (std::size_t a = 0; a < m; ++a) {
      for (std::size_t b = 0; b <= a; ++b) {
        const std::size_t sa = last[a] - first[a] + 1, sb = last[b] - first[b] + 1;
        const std::size_t lo = std::max(first[a], first[b]), hi = std::min(last[a], last[b]);
        const std::size_t both = hi >= lo ? hi - lo + 1 : 0;
        g[a * m + b] = static_cast<Real>(both * (n_ - sa - sb + both) + (sa - both) * (sb - both));
      }
    }
    // Cholesky G = L L^T in the lower triangle, then L L^T z = b.
    for (std::size_t a = 0; a < m; ++a) {
      for (std::size_t b = 0; b <= a; ++b) {
        Real sum = g[a * m + b];
        for (std::size_t c = 0; c < b; ++c) sum -= g[a * m + c] * g[b * m + c];
        g[a * m + b] = a == b ? std::sqrt(sum) : sum / g[b * m + b];
      }
    }
    std::vector<Real> z(m);
    for (std::size_t a = 0; a < m; ++a) {
      Real sum = right_[free[a]];
      for (std::size_t c = 0; c < a; ++c) sum -= g[a * m + c] * z[c];
      z[a] = sum / g[a * m + a];
    }
    for (std::size_t a = m; a-- > 0;) {
      Real sum = z[a];
      for (std::size_t c = a + 1; c < m; ++c) sum -= g[c * m + a] * z[c];
      z[a] = sum / g[a * m + a];
    }
    std::vector<Real> x(held.size(), 0);
    for (std::size_t a = 0; a < m; ++a) x[free[a]] = z[a];
    return x;
  }

 private:
  std::size_t n_;
  const std::vector<Real>& d_;
  std::vector<Real> right_;  // A^T d
};

}  // namespace

Result<SplitWeights> FitSplitWeights(std::size_t n, const std::vector<Real>& d) {
  SplitWeights result;
  std::vector<Real> x = ExactSplitWeights(n, d);
  const std::size_t count = x.size();
  if (std::any_of(x.begin(), x.end(), [](Real w) { return w < 0; })) {
    const ActiveSet method(n, d);
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
        for (std::size_t k = 0; k < count; ++k) {
          if (held[k]) continue;
          x[k] += alpha * (z[k] - x[k]);
          if (k == blocking || x[k] <= 0) held[k] = 1, x[k] = 0;
        }
        z = method.SolveFree(held);
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
      std::vector<Real> z = method.SolveFree(held);
      if (z[freed] <= 0) {
        held[freed] = 1;  // the gradient's sign was the rounding's
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
