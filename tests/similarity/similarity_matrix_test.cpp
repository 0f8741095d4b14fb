#include "similarity/similarity_matrix.h"

#include <gtest/gtest.h>
#include <omp.h>

#include <algorithm>
#include <cstring>
#include <random>

#include "core/random_generator.h"
#include "similarity/coefficient_names.h"
#include "similarity/distance_transformation.h"
#include "similarity/reference_coefficients.h"
#include "support/kernel_path_parameter.h"
#include "support/test_matrix.h"

namespace vorn {
namespace {

using C = SimilarityCoefficient;
using M = SimilarityMode;
using testing::kAllCoefficients;
using testing::kFillVariants;
using testing::RandomMatrix;
using testing::ReferenceCoefficient;
using testing::SameValue;
using testing::TestSeed;

// Whether the variant compares no locus of individuals i and j, counted locus by locus: the
// Standard compares the loci scored in both, the Minimum those scored in either, the Maximum all.
bool ComparesNoLocus(const DataMatrix& data, std::size_t i, std::size_t j, M variant) {
  for (std::size_t l = 0; l < data.locusCount; ++l) {
    const bool scoredI = data.At(i, l) != Missing, scoredJ = data.At(j, l) != Missing;
    if (variant == M::Maximum || (variant == M::Minimum ? scoredI || scoredJ : scoredI && scoredJ)) return false;
  }
  return true;
}

SimilaritySettings With(C coefficient) {
  SimilaritySettings settings;
  settings.coefficient = coefficient;
  return settings;
}

class SimilarityMatrixAtWordBoundaries : public ::testing::TestWithParam<std::size_t> {};

TEST_P(SimilarityMatrixAtWordBoundaries, EveryEntryIsTheFormulaOfItsPair) {
  const std::size_t loci = GetParam(), n = 12;
  const DataMatrix data = RandomMatrix(n, loci, 0.15, TestSeed());
  for (const C coefficient : kAllCoefficients) {
    for (const M variant : kFillVariants) {
      auto fill = BuildSimilarityMatrix(data, variant, With(coefficient));
      ASSERT_TRUE(fill.ok());
      ASSERT_EQ(fill->matrix.n, n);
      ASSERT_EQ(fill->matrix.entries.size(), n * (n + 1) / 2);
      std::size_t position = 0, undefined = 0;
      std::vector<std::size_t> incomparable;
      for (std::size_t i = 0; i < n; ++i) {
        for (std::size_t j = 0; j <= i; ++j, ++position) {
          if (j < i && ComparesNoLocus(data, i, j, variant)) incomparable.push_back(StrictPairIndex(i, j));
          const Real expected = ReferenceCoefficient(data.cells.data(), n, i, data.cells.data(), n, j, loci,
                                                     coefficient, variant, 6);
          EXPECT_TRUE(SameValue(fill->matrix.entries[position], expected))
              << CoefficientName(coefficient) << " variant " << static_cast<int>(variant) << " (" << i << "," << j << ")";
          if (coefficient == C::NeiLi && expected == -1) ++undefined;
        }
      }
      EXPECT_EQ(fill->undefinedNeiLiPairs, undefined);
      EXPECT_EQ(fill->marks.incomparable, incomparable);
      EXPECT_EQ(fill->marks.incomparableCause, variant == M::Standard ? UndefinedCause::NotScoredInBoth
                                                                 : UndefinedCause::NotScoredInEither);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Loci, SimilarityMatrixAtWordBoundaries, ::testing::Values(1, 63, 64, 65, 129));

TEST(SimilarityMatrix, BothCoresFillTheSameBitsAsOne) {
  const DataMatrix data = RandomMatrix(400, 200, 0.1, TestSeed());  // large enough to be shared
  for (const C coefficient : kAllCoefficients) {
    omp_set_num_threads(1);
    auto serial = BuildSimilarityMatrix(data, M::Minimum, With(coefficient));
    omp_set_num_threads(2);
    auto parallel = BuildSimilarityMatrix(data, M::Minimum, With(coefficient));
    ASSERT_TRUE(serial.ok() && parallel.ok());
    for (std::size_t k = 0; k < serial->matrix.entries.size(); ++k) {
      ASSERT_TRUE(SameValue(serial->matrix.entries[k], parallel->matrix.entries[k])) << k;
    }
    EXPECT_EQ(serial->undefinedNeiLiPairs, parallel->undefinedNeiLiPairs);
  }
}

// A bootstrap sample of the loci of data (drawn at random, then locus drawn[0] 40 times more, a
// group of its own), and the sample written out locus by locus.
struct DrawnSample {
  std::vector<std::uint32_t> drawn;
  DataMatrix sample;
};
DrawnSample DrawSample(const DataMatrix& data, std::uint32_t seed) {
  RandomGenerator random;
  random.Seed(seed);
  DrawnSample s;
  s.drawn.resize(data.locusCount);
  for (auto& locus : s.drawn) locus = random.NextBelow(static_cast<std::uint32_t>(data.locusCount));
  s.drawn.resize(data.locusCount + 40, s.drawn[0]);
  const std::size_t n = data.individualCount;
  s.sample = data;
  s.sample.locusCount = s.drawn.size();
  s.sample.cells.clear();
  for (const std::uint32_t locus : s.drawn) {
    s.sample.cells.insert(s.sample.cells.end(), data.cells.begin() + locus * n, data.cells.begin() + (locus + 1) * n);
  }
  return s;
}

// Drawn loci counted by how often they were drawn give the matrix of the sample written out,
// bit for bit, under every coefficient and treatment (many loci drawn 3 or more times here).
TEST(SimilarityMatrix, WeightedSampleEqualsTheSampleWrittenOut) {
  const std::size_t n = 70, loci = 150;
  const DataMatrix data = RandomMatrix(n, loci, 0.12, TestSeed());
  const auto [drawn, sample] = DrawSample(data, TestSeed());
  const WeightedScores weighted(data, drawn);
  for (const C coefficient : kAllCoefficients) {
    for (const M variant : kFillVariants) {
      auto expected = BuildSimilarityMatrix(sample, variant, With(coefficient));
      auto fill = BuildSimilarityMatrix(weighted, variant, coefficient, SimilaritySettings{}.neiLiR);
      ASSERT_TRUE(expected.ok() && fill.ok());
      for (std::size_t k = 0; k < fill->matrix.entries.size(); ++k) {
        ASSERT_TRUE(SameValue(fill->matrix.entries[k], expected->matrix.entries[k])) << CoefficientName(coefficient) << k;
      }
      EXPECT_EQ(fill->undefinedNeiLiPairs, expected->undefinedNeiLiPairs);
      EXPECT_EQ(fill->marks.incomparable, expected->marks.incomparable);
      // Filled as distances (each coefficient with another of the six transformations).
      const auto transformation = static_cast<DistanceTransformation>(static_cast<int>(coefficient) % 6);
      const DistanceMatrix distances = TransformMatrix(expected->matrix, transformation);
      fill = BuildSimilarityMatrix(weighted, variant, coefficient, SimilaritySettings{}.neiLiR, transformation);
      for (std::size_t k = 0; k < distances.entries.size(); ++k) {
        ASSERT_TRUE(SameValue(fill->matrix.entries[k], distances.entries[k])) << CoefficientName(coefficient) << k;
      }
      EXPECT_EQ(fill->undefinedNeiLiPairs, expected->undefinedNeiLiPairs);
    }
  }
}

// Each path gives the counts of the sample written out on any stretch of a row: with more
// individuals than it counts at once, with columns past its vectors' whole fours, and with
// more words of one weight than add up in bytes (all scores present in the last matrix, so
// that each byte counts its most), and with pairs that share no band (three individuals without
// one in the fourth matrix).
class WeightedCountsOnEachPath : public ::testing::TestWithParam<KernelPath> {};

TEST_P(WeightedCountsOnEachPath, EqualTheCountsOfTheSampleWrittenOut) {
  const KernelPath path = GetParam();
  if (!PathRuns(Kernel::WeightedPairCounts, path)) GTEST_SKIP() << "this processor does not run the path";
  const std::uint32_t seed = TestSeed();
  DataMatrix present = RandomMatrix(9, 6000, 0, seed);
  std::fill(present.cells.begin(), present.cells.end(), Presence);
  DataMatrix bandless = RandomMatrix(13, 130, 0.3, seed);
  for (std::uint32_t i = 0; i < 3; ++i) {
    for (std::size_t l = 0; l < bandless.locusCount; ++l) {
      if (bandless.At(i, l) == Presence) bandless.cells[bandless.Position(i, l)] = Absence;
    }
  }
  for (const DataMatrix& data :
       {RandomMatrix(70, 150, 0.12, seed), RandomMatrix(11, 6000, 0.2, seed), present, bandless}) {
    const auto [drawn, sample] = DrawSample(data, seed);
    const WeightedScores weighted(data, drawn);
    const PackedScores packed(sample);
    const std::size_t n = data.individualCount;
    std::vector<PairCounts> counts(n);
    for (std::size_t i = 0; i < n; ++i) {
      for (const CountsRead read : {CountsRead::All, CountsRead::Standard, CountsRead::StandardBands}) {
        weighted.CountPairs(path, i, i % 3, n, read, counts.data());
        for (std::size_t j = i % 3; j < n; ++j) {
          PairCounts expected = CountPair(packed, i, packed, j);
          if (read != CountsRead::All) expected.p = expected.q = expected.r = 0;
          if (read == CountsRead::StandardBands && expected.a + expected.bPlusC > 0) expected.d = 0;
          ASSERT_EQ(counts[j - i % 3], expected) << data.locusCount << " loci, i=" << i << " j=" << j;
        }
      }
    }
  }
}

// The scores built for each path, as the fill counts them: on the AVX2 path the stretches of a
// block of 256 individuals up to the diagonal come from the scores kept locus by locus. More
// than one block, word-boundary numbers of loci, rows whose bands or whose absences are the
// fewer, an individual with every score missing, and counts of thousands (all bands present).
TEST_P(WeightedCountsOnEachPath, EqualTheCountsOfTheSampleWrittenOutAcrossBlocks) {
  const KernelPath path = GetParam();
  if (!PathRuns(Kernel::WeightedPairCounts, path)) GTEST_SKIP() << "this processor does not run the path";
  const std::uint32_t seed = TestSeed();
  std::mt19937 engine(seed);
  std::vector<DataMatrix> matrices;
  for (const std::size_t loci : {1, 63, 64, 65, 129}) {
    matrices.push_back(testing::RandomMatrix(400, loci, 0.15, loci % 2 == 0 ? 0.7 : 0.25, engine));
  }
  for (std::size_t l = 0; l < matrices[4].locusCount; ++l) matrices[4].cells[matrices[4].Position(7, l)] = Missing;
  DataMatrix present = RandomMatrix(100, 3000, 0, seed);
  std::fill(present.cells.begin(), present.cells.end(), Presence);
  matrices.push_back(present);
  for (const DataMatrix& data : matrices) {
    const auto [drawn, sample] = DrawSample(data, seed);
    const WeightedScores weighted(data, drawn, path);
    const PackedScores packed(sample);
    const std::size_t n = data.individualCount;
    std::vector<PairCounts> counts(n);
    for (std::size_t i = 0; i < n; ++i) {
      for (const CountsRead read : {CountsRead::All, CountsRead::Standard, CountsRead::StandardBands}) {
        for (const std::size_t first : {std::size_t{0}, std::size_t{256}}) {
          if (first >= n) continue;
          weighted.CountPairs(path, i, first, n, read, counts.data());
          for (std::size_t j = first; j < n; ++j) {
            PairCounts expected = CountPair(packed, i, packed, j);
            if (read != CountsRead::All) expected.p = expected.q = expected.r = 0;
            if (read == CountsRead::StandardBands && expected.a + expected.bPlusC > 0) expected.d = 0;
            ASSERT_EQ(counts[j - first], expected) << data.locusCount << " loci, i=" << i << " j=" << j;
          }
        }
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Paths, WeightedCountsOnEachPath, testing::EveryKernelPath(), testing::KernelPathTestName);

// A bootstrap sample's matrix over more than one block of individuals, filled on the path the
// program chose (the suite runs once more with each path forced), equals the matrix of the
// sample written out.
TEST(SimilarityMatrix, WeightedFillAcrossBlocksEqualsTheSampleWrittenOut) {
  const DataMatrix data = RandomMatrix(300, 150, 0.1, TestSeed());
  const auto [drawn, sample] = DrawSample(data, TestSeed());
  const WeightedScores weighted(data, drawn);
  for (const C coefficient : {C::Jaccard, C::SMC}) {
    auto expected = BuildSimilarityMatrix(sample, M::Standard, With(coefficient));
    auto fill = BuildSimilarityMatrix(weighted, M::Standard, coefficient, SimilaritySettings{}.neiLiR);
    ASSERT_TRUE(expected.ok() && fill.ok());
    for (std::size_t k = 0; k < fill->matrix.entries.size(); ++k) {
      ASSERT_TRUE(SameValue(fill->matrix.entries[k], expected->matrix.entries[k])) << CoefficientName(coefficient) << k;
    }
    EXPECT_EQ(fill->marks.incomparable, expected->marks.incomparable);
  }
}

TEST(SimilarityMatrix, OneIndividualHasOnlyItsDiagonal) {
  const DataMatrix data = RandomMatrix(1, 5, 0, 3);
  auto fill = BuildSimilarityMatrix(data, M::Standard, With(C::SMC));
  ASSERT_TRUE(fill.ok());
  EXPECT_EQ(fill->matrix.entries, std::vector<Real>{1});
}

TEST(SimilarityMatrix, CompleteDataGiveTheSameMatrixUnderEveryTreatment) {
  const DataMatrix data = RandomMatrix(20, 70, 0, TestSeed());
  for (const C coefficient : kAllCoefficients) {
    const auto standard = BuildSimilarityMatrix(data, M::Standard, With(coefficient));
    const auto minimum = BuildSimilarityMatrix(data, M::Minimum, With(coefficient));
    const auto maximum = BuildSimilarityMatrix(data, M::Maximum, With(coefficient));
    for (std::size_t k = 0; k < standard->matrix.entries.size(); ++k) {
      EXPECT_TRUE(SameValue(standard->matrix.entries[k], minimum->matrix.entries[k]));
      EXPECT_TRUE(SameValue(standard->matrix.entries[k], maximum->matrix.entries[k]));
    }
  }
}

TEST(SimilarityMatrix, AnUnknownCoefficientIsRefusedByVariant) {
  const DataMatrix data = RandomMatrix(3, 5, 0.1, 1);
  const SimilaritySettings damaged = With(static_cast<C>(6));
  EXPECT_EQ(BuildSimilarityMatrix(data, M::Standard, damaged).error(), "VornCore: Unknown coeffient 1");
  EXPECT_EQ(BuildSimilarityMatrix(data, M::Minimum, damaged).error(), "VornCore: Unknown coeffient 2");
  EXPECT_EQ(BuildSimilarityMatrix(data, M::Maximum, damaged).error(), "VornCore: Unknown coeffient 3");
}

}  // namespace
}  // namespace vorn
