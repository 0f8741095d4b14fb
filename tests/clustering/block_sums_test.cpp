// The block sums against a direct sum over the cells of ln P, its first and second derivatives,
// and every path the processor runs against the plain one, bit for bit.
#include "clustering/block_sums.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "core/random_generator.h"

namespace vorn {
namespace {

struct Block {
  std::vector<std::int8_t> codes;
  std::vector<double> values;
  std::vector<double> x;
  BlockCells cells;
};

Block RandomBlock(std::size_t used, std::size_t k, BandModel model, RandomGenerator& random) {
  Block b;
  const std::size_t cells = PaddedCells(used);
  b.codes.assign(cells, 0);
  b.values.assign(cells * k, 0.0);
  for (std::size_t l = 0; l < used; ++l) {
    const std::uint32_t u = random.NextBelow(10);
    b.codes[l] = static_cast<std::int8_t>(u == 0 ? 0 : u < 5 ? 1 : -1);
    for (std::size_t c = 0; c < k; ++c) b.values[c * cells + l] = 0.01 + 0.98 * static_cast<double>(random.NextReal());
  }
  double sum = 0;
  for (std::size_t c = 0; c < k; ++c) sum += b.x.emplace_back(0.05 + static_cast<double>(random.NextReal()));
  for (double& q : b.x) q /= sum;
  b.cells = {b.codes.data(), b.values.data(), cells, k, model};
  return b;
}

TEST(BlockSums, MatchTheCellByCellSums) {
  RandomGenerator random;
  random.Seed(41);
  std::vector<KernelPath> paths;
  for (const KernelPath path : kKernelPaths) {
    if (PathRuns(Kernel::AdmixtureBlockSums, path)) paths.push_back(path);
    else std::printf("[ NOTE     ] the %s body of the block sums does not run here\n", std::string(PathName(path)).c_str());
  }
  struct Case {
    std::size_t cells, k;
    BandModel model;
  };
  for (const Case& c : {Case{1, 1, BandModel::DiploidDominant}, Case{37, 2, BandModel::DiploidDominant},
                        Case{200, 3, BandModel::Haploid}, Case{129, 6, BandModel::DiploidDominant},
                        Case{70, 9, BandModel::Haploid}}) {
    SCOPED_TRACE(std::to_string(c.cells) + " cells, K = " + std::to_string(c.k));
    const Block b = RandomBlock(c.cells, c.k, c.model, random);
    double value = 0;
    std::vector<double> gradient(c.k, 0.0), hessian(c.k * c.k, 0.0);
    for (std::size_t l = 0; l < c.cells; ++l) {
      if (b.codes[l] == 0) continue;
      const bool band = b.codes[l] < 0;
      double f = 0;
      for (std::size_t k = 0; k < c.k; ++k) f += b.x[k] * b.values[k * b.cells.cells + l];
      value += BandLogLikelihood(band, f, c.model);
      // d ln P / df and d2 ln P / df2 of ln f^2, ln(1 - f^2), ln f and ln(1 - f).
      double first, second;
      if (c.model == BandModel::DiploidDominant) {
        first = band ? -2 * f / (1 - f * f) : 2 / f;
        second = band ? -2 * (1 + f * f) / ((1 - f * f) * (1 - f * f)) : -2 / (f * f);
      } else {
        first = band ? -1 / (1 - f) : 1 / f;
        second = -first * first;
      }
      for (std::size_t a = 0; a < c.k; ++a) {
        const double va = b.values[a * b.cells.cells + l];
        gradient[a] += first * va;
        for (std::size_t d = 0; d < c.k; ++d) hessian[a * c.k + d] += second * va * b.values[d * b.cells.cells + l];
      }
    }
    std::vector<double> fastGradient(c.k), fastHessian(c.k * c.k);
    const double fast = BlockDerivatives(KernelPath::Plain, b.cells, b.x.data(), fastGradient.data(), fastHessian.data());
    EXPECT_NEAR(fast, value, 1e-12 * std::fabs(value));
    EXPECT_EQ(BlockValue(KernelPath::Plain, b.cells, b.x.data()), fast);
    for (std::size_t a = 0; a < c.k; ++a) {
      EXPECT_NEAR(fastGradient[a], gradient[a], 1e-10 * (1 + std::fabs(gradient[a]))) << a;
      for (std::size_t d = 0; d < c.k; ++d) {
        EXPECT_NEAR(fastHessian[a * c.k + d], hessian[a * c.k + d], 1e-10 * (1 + std::fabs(hessian[a * c.k + d])));
      }
    }
    for (const KernelPath path : paths) {
      std::vector<double> pathGradient(c.k), pathHessian(c.k * c.k);
      EXPECT_EQ(BlockDerivatives(path, b.cells, b.x.data(), pathGradient.data(), pathHessian.data()), fast);
      EXPECT_EQ(BlockValue(path, b.cells, b.x.data()), fast);
      EXPECT_EQ(pathGradient, fastGradient);
      EXPECT_EQ(pathHessian, fastHessian);
    }
  }
}

}  // namespace
}  // namespace vorn
