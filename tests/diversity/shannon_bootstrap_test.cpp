// The bootstrapped Shannon index against the plain loop it stands for: build each resampled
// matrix, replace its missing scores, drop its monomorphic loci and compute I. Every index and
// the generator's state afterwards must be the same, bit for bit, on one core or two.
#include "diversity/shannon_bootstrap.h"

#include <gtest/gtest.h>
#include <omp.h>

#include <random>

#include "replicates/resample_loci.h"
#include "matrix/band_counts.h"
#include "matrix/band_frequencies.h"
#include "matrix/monomorphic.h"
#include "matrix/replace_missing.h"
#include "diversity/shannon.h"
#include "support/test_matrix.h"

namespace vorn {
namespace {

std::vector<Real> PlainBootstrap(const DataMatrix& matrix, const ShannonBootstrapOptions& options,
                                 RandomGenerator& random) {
  std::vector<Real> indices;
  for (int r = 0; r < options.replicates; ++r) {
    DataMatrix replicate = matrix;
    ResampleLoci(matrix.cells.data(), replicate.cells.data(), matrix.individualCount, matrix.locusCount, random);
    if (options.replaceMissing) {
      const std::vector<Cell> drawn = replicate.cells;
      ReplaceMissing(drawn, replicate.cells, options.replacementShare, random);
    }
    DataMatrix kept;
    kept.individualCount = matrix.individualCount;
    const std::vector<BandCounts> counts = CountRows(replicate, RowKind::Loci);
    for (std::size_t l = 0; l < counts.size(); ++l) {
      if (IsMonomorphic(counts[l])) continue;
      kept.cells.insert(kept.cells.end(), replicate.Locus(l), replicate.Locus(l) + matrix.individualCount);
      ++kept.locusCount;
    }
    indices.push_back(ShannonIndex(*LocusBandFrequencies(kept, options.basis)));
  }
  return indices;
}

struct Setting {
  bool replace;
  double q;
  FrequencyBasis basis;
};

constexpr Setting kSettings[] = {
    {false, 0.5, FrequencyBasis::RelativeToAllPresences}, {true, 0.0, FrequencyBasis::RelativeToAllPresences},
    {true, 1.0, FrequencyBasis::PerIndividual},          {true, 0.37, FrequencyBasis::RelativeToAllPresences},
    {true, 0.5, FrequencyBasis::PerIndividual},          {false, 0.5, FrequencyBasis::PerIndividual},
};

TEST(BootstrapShannon, EqualsThePlainLoopOnRandomMatricesWithMissingScores) {
  std::mt19937 engine(20261208);
  const std::size_t shapes[][2] = {{1, 1}, {5, 63}, {13, 64}, {40, 65}, {7, 129}, {3, 2}};
  for (const auto& shape : shapes) {
    for (double missing : {0.0, 0.1, 0.6}) {
      const DataMatrix matrix = testing::RandomMatrix(shape[0], shape[1], missing, 0.3, engine);
      for (const Setting& setting : kSettings) {
        const ShannonBootstrapOptions options{25, setting.replace, setting.q, setting.basis};
        RandomGenerator fast, plain;
        fast.Seed(static_cast<std::uint32_t>(engine()));
        plain = fast;
        const auto indices = BootstrapShannonIndices(matrix, options, fast);
        ASSERT_TRUE(indices.ok());
        EXPECT_EQ(*indices, PlainBootstrap(matrix, options, plain))
            << shape[0] << " x " << shape[1] << ", missing " << missing << ", q " << setting.q;
        EXPECT_EQ(fast.State(), plain.State());
      }
    }
  }
}

TEST(BootstrapShannon, OneCoreAndTwoGiveTheSameReplicates) {
  std::mt19937 engine(7);
  const DataMatrix matrix = testing::RandomMatrix(50, 300, 0.1, 0.4, engine);
  const ShannonBootstrapOptions options{1200, true, 0.5, FrequencyBasis::RelativeToAllPresences};
  std::vector<Real> byCores[2];
  std::uint32_t states[2];
  for (int cores : {1, 2}) {
    omp_set_num_threads(cores);
    RandomGenerator random;
    random.Seed(99);
    byCores[cores - 1] = *BootstrapShannonIndices(matrix, options, random);
    states[cores - 1] = random.State();
  }
  omp_set_num_threads(omp_get_num_procs());
  EXPECT_EQ(byCores[0], byCores[1]);
  EXPECT_EQ(states[0], states[1]);
  RandomGenerator plain;
  plain.Seed(99);
  EXPECT_EQ(byCores[0], PlainBootstrap(matrix, options, plain));
  EXPECT_EQ(plain.State(), states[0]);
}

TEST(BootstrapShannon, ABadCellFailsBeforeAnyDraw) {
  RandomGenerator random;
  random.Seed(5);
  const auto indices = BootstrapShannonIndices(testing::MatrixFromRows({"10", "1x"}), {10, true, 0.5}, random);
  ASSERT_FALSE(indices.ok());
  EXPECT_EQ(indices.error(), "Data matrix error.");
  EXPECT_EQ(random.State(), 5u);
}

TEST(SampleMoments, MeanAndSampleVarianceNeverBelowZero) {
  const Real values[] = {1, 2, 3, 6};
  const MeanAndVariance moments = SampleMoments(values);
  EXPECT_EQ(moments.mean, 3);
  EXPECT_EQ(moments.variance, (1 + 4 + 9 + 36 - 4 * 9) / 3.0L);
  // Equal values: Q - R mean^2 rounds below 0 for about half of these constants.
  for (int k = 1; k <= 100; ++k) {
    const std::vector<Real> equal(10000, k / 7.0L);
    const Real variance = SampleMoments(equal).variance;
    EXPECT_GE(variance, 0) << k;
    EXPECT_LT(variance, 1e-13L) << k;  // far below the nine decimals written
  }
}

}  // namespace
}  // namespace vorn
