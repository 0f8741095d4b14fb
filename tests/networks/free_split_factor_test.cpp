#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "networks/circular_splits.h"
#include "networks/factor_kernels.h"
#include "networks/free_split_factor.h"
#include "networks/network_reference.h"
#include "support/kernel_path_parameter.h"

namespace vorn {
namespace {

using testing::DesignMatrix;
using testing::PassiveLeastSquares;
using testing::RandomPairs;

std::vector<double> RandomValues(std::size_t count, std::mt19937& generator) {
  std::uniform_real_distribution<double> value(-1, 1);
  std::vector<double> values(count);
  for (double& v : values) v = value(generator);
  return values;
}

using FactorKernels = testing::OnEachPathOf<Kernel::SplitFactor>;

// Every body gives the plain body's bits, and the plain body gives those of the loops written
// out one entry at a time in the same order; lengths round the four lanes.
TEST_P(FactorKernels, GiveTheBitsOfTheLoopsWrittenOut) {
  std::mt19937 generator(5);
  for (std::size_t count : {0u, 1u, 3u, 4u, 7u, 8u, 37u, 1000u}) {
    const std::vector<double> u = RandomValues(count, generator), v = RandomValues(count, generator);
    double lanes[4] = {0, 0, 0, 0}, tail = 0;
    std::size_t k = 0;
    for (; k + 4 <= count; k += 4)
      for (std::size_t l = 0; l < 4; ++l) lanes[l] += u[k + l] * v[k + l];
    tail = (lanes[0] + lanes[1]) + (lanes[2] + lanes[3]);
    for (; k < count; ++k) tail += u[k] * v[k];
    EXPECT_EQ(FactorDot(GetParam(), u.data(), v.data(), count), tail) << count;

    for (std::size_t width : {1u, 3u, 8u}) {
      std::vector<std::vector<double>> columns;
      std::vector<const double*> pointers;
      for (std::size_t b = 0; b < width; ++b) columns.push_back(RandomValues(count, generator));
      for (const auto& column : columns) pointers.push_back(column.data());
      const std::vector<double> a = RandomValues(width, generator);
      std::vector<double> y = u, want = u;
      FactorSubtractColumns(GetParam(), y.data(), a.data(), pointers.data(), width, count);
      for (std::size_t b = 0; b < width; ++b)
        for (std::size_t i = 0; i < count; ++i) want[i] -= a[b] * columns[b][i];
      EXPECT_EQ(y, want) << count << " " << width;
    }

    std::vector<double> column = u, x = v, wantColumn = u, wantX = v;
    const double cosine = 1.25, sine = 0.75, inverse = 0.8;
    FactorRotate(GetParam(), column.data(), x.data(), cosine, sine, inverse, count);
    for (std::size_t i = 0; i < count; ++i) {
      wantColumn[i] = (wantColumn[i] + sine * wantX[i]) * inverse;
      wantX[i] = cosine * wantX[i] - sine * wantColumn[i];
    }
    EXPECT_EQ(column, wantColumn) << count;
    EXPECT_EQ(x, wantX) << count;
  }
}

// The kernels have no AVX-512 body: that path runs the AVX2 one.
INSTANTIATE_TEST_SUITE_P(EveryPath, FactorKernels, ::testing::Values(KernelPath::Plain, KernelPath::Avx2),
                         testing::KernelPathTestName);

// Through a random run of splits freed (one or several at a time) and held again (first, middle
// and last rows of the factor), the solution of the factor is the least squares of the free
// splits solved afresh from the written-out design matrix, and one refinement in Real brings it
// to that solution's rounding.
TEST(FreeSplitFactor, SolvesTheFreeSplitsLeastSquaresAsTheyComeAndGo) {
  const std::size_t n = 9, count = CircularSplitCount(n);
  const testing::Dense a = DesignMatrix(n);
  const std::vector<Real> d = RandomPairs(n, 17);
  const std::vector<Real> right = SeparatedSums(n, d);
  FreeSplitFactor factor(n, right);
  std::mt19937 generator(3);
  std::vector<bool> free(count, false);
  for (std::size_t step = 0; step < 60; ++step) {
    std::vector<std::size_t> held;
    for (std::size_t s = 0; s < count; ++s)
      if (!free[s]) held.push_back(s);
    if (factor.FreeCount() < 4 || (step % 3 != 2 && !held.empty())) {
      std::shuffle(held.begin(), held.end(), generator);
      held.resize(std::min<std::size_t>(held.size(), 1 + step % 5));
      for (std::size_t s : held) free[s] = true;
      factor.Free(held);
    } else {
      std::vector<char> hold(factor.FreeCount(), 0);
      hold[step % 2 == 0 ? 0 : factor.FreeCount() - 1] = 1;
      hold[factor.FreeCount() / 2] = 1;
      for (std::size_t r = 0; r < hold.size(); ++r)
        if (hold[r]) free[factor.FreeSplits()[r]] = false;
      factor.HoldPositions(hold);
    }
    ASSERT_EQ(factor.FreeSplits().size(), static_cast<std::size_t>(std::count(free.begin(), free.end(), true)));
    const std::vector<Real> want = PassiveLeastSquares(a, d, free);
    const std::vector<Real> solved = factor.Solve();
    std::vector<Real> x(count, 0);
    for (std::size_t r = 0; r < solved.size(); ++r) {
      const std::size_t s = factor.FreeSplits()[r];
      ASSERT_TRUE(free[s]) << step;
      EXPECT_NEAR(static_cast<double>(solved[r]), static_cast<double>(want[s]), 1e-11) << step << " split " << s;
      x[s] = solved[r];
    }
    // g = A^T (d - A x) of every split.
    std::vector<Real> residual = SplitDistances(n, x);
    for (std::size_t k = 0; k < count; ++k) residual[k] = d[k] - residual[k];
    const std::vector<Real> refined = factor.Refined(x, SeparatedSums(n, residual));
    for (std::size_t r = 0; r < refined.size(); ++r) {
      EXPECT_NEAR(static_cast<double>(refined[r]), static_cast<double>(want[factor.FreeSplits()[r]]), 1e-14) << step;
    }
  }
}

}  // namespace
}  // namespace vorn
