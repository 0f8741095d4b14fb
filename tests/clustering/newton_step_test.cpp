// The constrained Newton step against the optimum of its quadratic model found by a fine search,
// and against the plain Newton step when no bound binds.
#include "clustering/newton_step.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace vorn {
namespace {

double ModelGain(const std::vector<double>& g, const std::vector<double>& h, const std::vector<double>& d) {
  const std::size_t k = g.size();
  double gain = 0;
  for (std::size_t a = 0; a < k; ++a) {
    gain += g[a] * d[a];
    for (std::size_t b = 0; b < k; ++b) gain += 0.5 * d[a] * h[a * k + b] * d[b];
  }
  return gain;
}

TEST(ConstrainedNewtonStep, ReachesTheBestPointOfTheQuadraticModel) {
  struct Case {
    const char* what;
    std::vector<double> x, gradient, hessian;
    NewtonBox box;
  };
  const std::vector<double> h2{-4, 1, 1, -3};
  const std::vector<double> h3{-5, 1, 0.5, 1, -4, 1, 0.5, 1, -6};
  const Case cases[] = {
      {"box, inside", {0.5, 0.5}, {0.4, -0.3}, h2, {1e-5, 1 - 1e-5, false}},
      {"box, one at its upper bound", {0.9, 0.5}, {3, 0.1}, h2, {1e-5, 1 - 1e-5, false}},
      {"box, both bound", {0.1, 0.8}, {-5, 5}, h2, {1e-5, 1 - 1e-5, false}},
      {"simplex, inside", {0.3, 0.3, 0.4}, {0.2, -0.1, 0.05}, h3, {1e-5, 1 - 1e-5, true}},
      {"simplex, one to its bound", {0.05, 0.5, 0.45}, {-3, 1, 0.5}, h3, {1e-5, 1 - 1e-5, true}},
      {"simplex, two to their bounds", {0.2, 0.2, 0.6}, {-4, -4, 6}, h3, {1e-5, 1 - 1e-5, true}},
      {"simplex, starting on a bound", {1e-5, 0.5, 0.5 - 1e-5}, {-1, 0.3, 0.2}, h3, {1e-5, 1 - 1e-5, true}},
      {"simplex, leaving a bound", {1e-5, 0.5, 0.5 - 1e-5}, {4, 0.3, 0.2}, h3, {1e-5, 1 - 1e-5, true}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::size_t k = c.x.size();
    std::vector<double> step(k);
    const double gain = ConstrainedNewtonStep(k, c.x.data(), c.gradient.data(), c.hessian.data(), c.box, step.data());
    EXPECT_NEAR(gain, ModelGain(c.gradient, c.hessian, step), 1e-12);
    double sum = 0;
    for (std::size_t j = 0; j < k; ++j) {
      EXPECT_GE(c.x[j] + step[j], c.box.lower - 1e-15);
      EXPECT_LE(c.x[j] + step[j], c.box.upper + 1e-15);
      sum += step[j];
    }
    if (c.box.simplex) {
      EXPECT_NEAR(sum, 0, 1e-15);
    }
    // The best feasible point of a grid of step 1/1000 over the first coordinates (the last from
    // the sum on the simplex) gains no more.
    double best = -INFINITY;
    const int n = 1000;
    std::vector<double> d(k);
    for (int a = 0; a <= n; ++a) {
      for (int b = 0; b <= n; ++b) {
        const double ya = c.box.lower + (c.box.upper - c.box.lower) * a / n;
        const double yb = c.box.lower + (c.box.upper - c.box.lower) * b / n;
        d[0] = ya - c.x[0], d[1] = yb - c.x[1];
        if (k == 3) {
          const double yc = 1 - ya - yb;
          if (yc < c.box.lower) continue;
          d[2] = yc - c.x[2];
        }
        best = std::max(best, ModelGain(c.gradient, c.hessian, d));
      }
    }
    EXPECT_GE(gain, best - 1e-9);
    EXPECT_LE(gain, best + 0.02);
  }
}

TEST(ConstrainedNewtonStep, IsThePlainNewtonStepWhenNoBoundBinds) {
  const std::vector<double> x{0.5, 0.5}, g{0.4, -0.3}, h{-4, 1, 1, -3};
  std::vector<double> step(2);
  ConstrainedNewtonStep(2, x.data(), g.data(), h.data(), {1e-5, 1 - 1e-5, false}, step.data());
  // -H^-1 g with det H = 11.
  EXPECT_NEAR(step[0], (3 * 0.4 + 1 * -0.3) / 11, 1e-9);
  EXPECT_NEAR(step[1], (1 * 0.4 + 4 * -0.3) / 11, 1e-9);
  std::vector<double> m{2, 1, 1, 3}, b{5, 10};
  ASSERT_TRUE(SolveLinear(2, m, b));
  EXPECT_NEAR(b[0], 1, 1e-15);
  EXPECT_NEAR(b[1], 3, 1e-15);
  std::vector<double> singular{1, 2, 2, 4}, right{1, 2};
  EXPECT_FALSE(SolveLinear(2, singular, right));
}

}  // namespace
}  // namespace vorn
