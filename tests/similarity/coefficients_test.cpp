#include "similarity/coefficients.h"

#include <gtest/gtest.h>

#include <cmath>

#include "similarity/coefficient_names.h"
#include "similarity/reference_coefficients.h"

namespace vorn {
namespace {

using C = SimilarityCoefficient;
using M = SimilarityMode;
using testing::kAllCoefficients;
using testing::kFillVariants;
using testing::RandomScores;
using testing::ReferenceCoefficient;
using testing::SameValue;
using testing::TestSeed;

// Counts from a list of loci, each written as two characters: 1 present, 0 absent, ? missing.
PairCounts Counts(std::initializer_list<const char*> loci) {
  std::vector<Cell> cells;
  for (const char* locus : loci) {
    for (int k = 0; k < 2; ++k) cells.push_back(locus[k] == '1' ? Presence : locus[k] == '0' ? Absence : Missing);
  }
  return CountPair(cells.data(), 2, 0, cells.data(), 2, 1, loci.size());
}

Real Value(C coefficient, M variant, const PairCounts& counts) { return CoefficientValue(coefficient, variant, counts, 6); }

class CoefficientsOnRandomData : public ::testing::TestWithParam<std::size_t> {};

TEST_P(CoefficientsOnRandomData, EveryCoefficientAndVariantEqualsItsFormula) {
  const std::size_t loci = GetParam(), n = 8;
  const std::uint32_t seed = TestSeed();
  for (const double missing : {0.0, 0.15, 0.6}) {
    // Few presences too, so that pairs without a shared band (the zero guards, Nei-Li -1) occur.
    for (const double presence : {0.5, 0.1}) {
      const auto cells = RandomScores(n, loci, missing, presence, seed);
      for (std::size_t i = 0; i < n; ++i) {
        for (std::size_t j = 0; j <= i; ++j) {
          const PairCounts counts = CountPair(cells.data(), n, i, cells.data(), n, j, loci);
          for (const C coefficient : kAllCoefficients) {
            for (const M variant : kFillVariants) {
              for (const Real r : {6.0L, 0.5L, 2.5L}) {
                const Real expected = ReferenceCoefficient(cells.data(), n, i, cells.data(), n, j, loci, coefficient, variant, r);
                const Real actual = CoefficientValue(coefficient, variant, counts, r);
                EXPECT_TRUE(SameValue(actual, expected))
                    << CoefficientName(coefficient) << " variant " << static_cast<int>(variant) << " r " << double(r)
                    << " i=" << i << " j=" << j << ": " << double(actual) << " != " << double(expected);
              }
            }
          }
        }
      }
    }
  }
}

// Minimum <= Standard <= Maximum for the similarities, the other way round for the distances.
TEST_P(CoefficientsOnRandomData, TheMissingDataTreatmentsBoundTheStandardValue) {
  const std::size_t loci = GetParam(), n = 10;
  const auto cells = RandomScores(n, loci, 0.2, 0.5, TestSeed());
  for (std::size_t i = 0; i < n; ++i) {
    for (std::size_t j = 0; j <= i; ++j) {
      const PairCounts counts = CountPair(cells.data(), n, i, cells.data(), n, j, loci);
      for (const C coefficient : kAllCoefficients) {
        const Real low = Value(coefficient, M::Minimum, counts), standard = Value(coefficient, M::Standard, counts),
                   high = Value(coefficient, M::Maximum, counts);
        // Undefined values (0/0, Nei-Li -1) have no place in the order.
        if (std::isnan(low) || std::isnan(standard) || std::isnan(high)) continue;
        if (coefficient == C::NeiLi && (low == -1 || standard == -1 || high == -1)) continue;
        if (IsDistance(coefficient)) {
          EXPECT_GE(low, standard) << CoefficientName(coefficient);
          EXPECT_GE(standard, high) << CoefficientName(coefficient);
        } else {
          EXPECT_LE(low, standard) << CoefficientName(coefficient);
          EXPECT_LE(standard, high) << CoefficientName(coefficient);
        }
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Loci, CoefficientsOnRandomData, ::testing::Values(1, 63, 64, 65, 129));

TEST(Coefficients, CompleteDataAgainstHandCounts) {
  // a = 3, b = 1, c = 2, d = 4
  const PairCounts counts = Counts({"11", "11", "11", "10", "01", "01", "00", "00", "00", "00"});
  for (const M variant : kFillVariants) {
    EXPECT_EQ(Value(C::Jaccard, variant, counts), 3.0L / 6);
    EXPECT_EQ(Value(C::Dice, variant, counts), 6.0L / 9);
    EXPECT_EQ(Value(C::SMC, variant, counts), 7.0L / 10);
    EXPECT_EQ(Value(C::Euclidean, variant, counts), std::sqrt(3.0L));
    EXPECT_EQ(Value(C::SqEuclidean, variant, counts), 3);
  }
}

TEST(Coefficients, MissingScoresUnderEachTreatment) {
  // a = 2, b + c = 2, d = 1, p = 2, q = 1, r = 1
  const PairCounts counts = Counts({"11", "11", "10", "01", "00", "1?", "?1", "0?", "??"});
  EXPECT_EQ(Value(C::Jaccard, M::Standard, counts), 2.0L / 4);
  EXPECT_EQ(Value(C::Jaccard, M::Minimum, counts), 2.0L / 7);
  EXPECT_EQ(Value(C::Jaccard, M::Maximum, counts), 5.0L / 7);
  EXPECT_EQ(Value(C::Dice, M::Minimum, counts), 4.0L / 9);
  EXPECT_EQ(Value(C::Dice, M::Maximum, counts), 10.0L / 12);
  EXPECT_EQ(Value(C::SMC, M::Standard, counts), 3.0L / 5);
  EXPECT_EQ(Value(C::SMC, M::Minimum, counts), 3.0L / 8);
  EXPECT_EQ(Value(C::SMC, M::Maximum, counts), 7.0L / 9);
  EXPECT_EQ(Value(C::SqEuclidean, M::Minimum, counts), 5);
  EXPECT_EQ(Value(C::SqEuclidean, M::Maximum, counts), 2);
}

TEST(Coefficients, NoBandInCommon) {
  const PairCounts counts = Counts({"10", "01", "00"});
  EXPECT_EQ(Value(C::Jaccard, M::Standard, counts), 0);
  EXPECT_EQ(Value(C::Jaccard, M::Minimum, counts), 0);
  EXPECT_EQ(Value(C::Dice, M::Standard, counts), 0);
  EXPECT_EQ(Value(C::NeiLi, M::Standard, counts), kUndefinedNeiLi);
}

TEST(Coefficients, AnIndividualWithItself) {
  const PairCounts counts = Counts({"11", "00", "??", "11"});
  for (const C coefficient : {C::Jaccard, C::Dice, C::SMC}) EXPECT_EQ(Value(coefficient, M::Standard, counts), 1);
  EXPECT_EQ(Value(C::Euclidean, M::Standard, counts), 0);
  EXPECT_EQ(Value(C::NeiLi, M::Standard, counts), 0);
  EXPECT_FALSE(std::signbit(Value(C::NeiLi, M::Standard, counts)));  // +0, not -0
}

TEST(Coefficients, LociMissingInBothAreLeftOutOrCountedAsShared) {
  const PairCounts counts = Counts({"11", "??", "??"});
  EXPECT_EQ(Value(C::Jaccard, M::Minimum, counts), 1);
  EXPECT_EQ(Value(C::SMC, M::Minimum, counts), 1);
  EXPECT_EQ(Value(C::Jaccard, M::Maximum, counts), 1);
  EXPECT_EQ(Value(C::Dice, M::Maximum, counts), 1);
  EXPECT_EQ(Value(C::SMC, M::Maximum, counts), 1);
  // Alone they make Minimum-similarity Dice 0/0, but Maximum-similarity Dice 1.
  const PairCounts onlyMissing = Counts({"??", "00"});
  EXPECT_TRUE(std::isnan(Value(C::Dice, M::Minimum, onlyMissing)));
  EXPECT_EQ(Value(C::Dice, M::Maximum, onlyMissing), 1);
}

TEST(Coefficients, ZeroDenominatorsGiveNotANumber) {
  const PairCounts absencesOnly = Counts({"00", "00"});
  EXPECT_TRUE(std::isnan(Value(C::Dice, M::Standard, absencesOnly)));
  EXPECT_TRUE(std::isnan(Value(C::NeiLi, M::Standard, absencesOnly)));
  EXPECT_TRUE(std::isnan(Value(C::Jaccard, M::Maximum, absencesOnly)));
  EXPECT_EQ(Value(C::Jaccard, M::Standard, absencesOnly), 0);  // the guard comes first
  EXPECT_EQ(Value(C::SMC, M::Standard, absencesOnly), 1);
  const PairCounts nothingScored = Counts({"??", "?1", "0?"});
  EXPECT_TRUE(std::isnan(Value(C::SMC, M::Standard, nothingScored)));
  EXPECT_EQ(Value(C::Euclidean, M::Standard, nothingScored), 0);
}

TEST(NeiLiDistance, DiceOneHalfWithTheDefaultR) {
  EXPECT_NEAR(static_cast<double>(NeiLiDistance(0.5L, 6)), 0.11667, 0.000005);
  EXPECT_EQ(NeiLiDistance(1, 6), 0);
  EXPECT_EQ(NeiLiDistance(0, 6), kUndefinedNeiLi);
}

TEST(NeiLiDistance, ALogarithmOfZeroIsUndefinedToo) {
  // r = 0.5 makes G = S; S = 1/4 gives y = 0 exactly.
  EXPECT_EQ(NeiLiDistance(0.25L, 0.5L), kUndefinedNeiLi);
  EXPECT_GT(NeiLiDistance(0.2501L, 0.5L), 0);
}

TEST(NeiLiDistance, MessageNamesThePairs) {
  EXPECT_EQ(UndefinedNeiLiMessage(1),
            "Undefined NeiLi distance\r\n\r\n1 pair of individuals shares too few bands; its distance is set to -1.");
  EXPECT_EQ(UndefinedNeiLiMessage(12),
            "Undefined NeiLi distance\r\n\r\n12 pairs of individuals share too few bands; their distances are set to -1.");
}

}  // namespace
}  // namespace vorn
