#include "clustering/newton_step.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace vorn {
namespace {

enum class Held : unsigned char { Free, AtLower, AtUpper };

}  // namespace

bool SolveLinear(std::size_t n, std::vector<double>& m, std::vector<double>& b) {
  for (std::size_t col = 0; col < n; ++col) {
    std::size_t pivot = col;
    for (std::size_t row = col + 1; row < n; ++row) {
      if (std::fabs(m[row * n + col]) > std::fabs(m[pivot * n + col])) pivot = row;
    }
    if (!(m[pivot * n + col] != 0)) return false;
    if (pivot != col) {
      for (std::size_t j = 0; j < n; ++j) std::swap(m[col * n + j], m[pivot * n + j]);
      std::swap(b[col], b[pivot]);
    }
    for (std::size_t row = col + 1; row < n; ++row) {
      const double factor = m[row * n + col] / m[col * n + col];
      if (factor == 0) continue;
      for (std::size_t j = col; j < n; ++j) m[row * n + j] -= factor * m[col * n + j];
      b[row] -= factor * b[col];
    }
  }
  for (std::size_t col = n; col-- > 0;) {
    double sum = b[col];
    for (std::size_t j = col + 1; j < n; ++j) sum -= m[col * n + j] * b[j];
    b[col] = sum / m[col * n + col];
  }
  return true;
}

namespace {

struct Model {
  std::size_t k;
  std::vector<double> a;  // minus the Hessian, its diagonal raised
  const double* gradient;
  bool simplex;

  // The minimiser of d'Ad/2 - g'd with the held coordinates at their values in d (the free ones
  // overwritten) and, on the simplex, sum d = 0; the multiplier of the sum into mu. False when
  // nothing can move.
  bool SolveFree(const std::vector<Held>& held, std::vector<double>& d, double& mu) const {
    std::vector<std::size_t> free;
    for (std::size_t j = 0; j < k; ++j) {
      if (held[j] == Held::Free) free.push_back(j);
    }
    mu = 0;
    if (free.empty()) return false;
    const std::size_t nf = free.size(), n = nf + (simplex ? 1 : 0);
    std::vector<double> m(n * n, 0.0), b(n, 0.0);
    double heldSum = 0;
    for (std::size_t j = 0; j < k; ++j) {
      if (held[j] != Held::Free) heldSum += d[j];
    }
    for (std::size_t r = 0; r < nf; ++r) {
      const std::size_t row = free[r];
      b[r] = gradient[row];
      for (std::size_t j = 0; j < k; ++j) {
        if (held[j] != Held::Free) b[r] -= a[row * k + j] * d[j];
      }
      for (std::size_t c = 0; c < nf; ++c) m[r * n + c] = a[row * k + free[c]];
      if (simplex) m[r * n + nf] = m[nf * n + r] = -1;
    }
    if (simplex) b[nf] = heldSum;  // -sum of the free = sum of the held, with the sign of the row
    if (simplex) {
      for (std::size_t c = 0; c < nf; ++c) m[nf * n + c] = -1;
    }
    if (!SolveLinear(n, m, b)) return false;
    for (std::size_t r = 0; r < nf; ++r) d[free[r]] = b[r];
    if (simplex) mu = b[nf];
    return true;
  }

  // d'Ad/2 - g'd's gradient at d, coordinate j.
  double Slope(const std::vector<double>& d, std::size_t j) const {
    double sum = -gradient[j];
    for (std::size_t c = 0; c < k; ++c) sum += a[j * k + c] * d[c];
    return sum;
  }
};

}  // namespace

double ConstrainedNewtonStep(std::size_t k, const double* x, const double* gradient, const double* hessian,
                             const NewtonBox& box, double* step) {
  Model model{k, std::vector<double>(k * k), gradient, box.simplex};
  double largest = 0;
  for (std::size_t j = 0; j < k; ++j) largest = std::max(largest, std::fabs(hessian[j * k + j]));
  const double ridge = std::max(1e-10 * largest, 1e-12);
  for (std::size_t j = 0; j < k * k; ++j) model.a[j] = -hessian[j];
  for (std::size_t j = 0; j < k; ++j) model.a[j * k + j] += ridge;

  // Bounds of the step; a coordinate on or beyond a bound is held there from the start when the
  // slope pushes it out (the set is corrected below otherwise).
  std::vector<double> low(k), high(k), d(k, 0.0);
  std::vector<Held> held(k, Held::Free);
  for (std::size_t j = 0; j < k; ++j) {
    low[j] = std::min(0.0, box.lower - x[j]);
    high[j] = std::max(0.0, box.upper - x[j]);
    if (low[j] == 0 && gradient[j] < 0) held[j] = Held::AtLower;
    if (high[j] == 0 && gradient[j] > 0) held[j] = Held::AtUpper;
  }
  if (box.simplex) {
    // Every coordinate held leaves no move on the simplex: free the one the slope favours most.
    if (std::all_of(held.begin(), held.end(), [](Held h) { return h != Held::Free; })) {
      held[std::max_element(gradient, gradient + k) - gradient] = Held::Free;
    }
  }
  for (std::size_t pass = 0; pass < 4 * k + 4; ++pass) {
    std::vector<double> target = d;
    double mu = 0;
    const bool moved = model.SolveFree(held, target, mu);
    double longest = 0;
    for (std::size_t j = 0; j < k; ++j) longest = std::max(longest, std::fabs(target[j] - d[j]));
    if (moved && longest > 0) {
      // Towards the target as far as the bounds allow.
      double t = 1;
      std::size_t blocking = k;
      for (std::size_t j = 0; j < k; ++j) {
        if (held[j] != Held::Free) continue;
        const double move = target[j] - d[j];
        if (move < 0 && d[j] + move < low[j]) {
          const double reach = (low[j] - d[j]) / move;
          if (reach < t) t = reach, blocking = j;
        } else if (move > 0 && d[j] + move > high[j]) {
          const double reach = (high[j] - d[j]) / move;
          if (reach < t) t = reach, blocking = j;
        }
      }
      for (std::size_t j = 0; j < k; ++j) {
        if (held[j] == Held::Free) d[j] += t * (target[j] - d[j]);
      }
      if (blocking < k) {
        const bool lower = target[blocking] < d[blocking] || d[blocking] <= low[blocking];
        held[blocking] = lower ? Held::AtLower : Held::AtUpper;
        d[blocking] = lower ? low[blocking] : high[blocking];
        continue;
      }
    } else if (moved) {
      d = target;
    }
    // At the solution of the working set: the held bound with the multiplier of the wrong sign.
    if (!moved && box.simplex) break;
    std::size_t wrong = k;
    double worst = 0;
    for (std::size_t j = 0; j < k; ++j) {
      if (held[j] == Held::Free) continue;
      const double slope = model.Slope(d, j) - mu;
      const double multiplier = held[j] == Held::AtLower ? slope : -slope;
      if (multiplier < worst) worst = multiplier, wrong = j;
    }
    if (wrong == k) break;
    held[wrong] = Held::Free;
  }
  double gain = 0;
  for (std::size_t j = 0; j < k; ++j) {
    step[j] = d[j];
    double hd = 0;
    for (std::size_t c = 0; c < k; ++c) hd += hessian[j * k + c] * d[c];
    gain += gradient[j] * d[j] + 0.5 * d[j] * hd;
  }
  return gain;
}

}  // namespace vorn
