#include "diversity/shannon.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <random>

#include "matrix/band_frequencies.h"
#include "support/test_matrix.h"

namespace vorn {
namespace {

ShannonScaling Base(LogBase base, Real a = 2.0L) { return ShannonScaling{FrequencyBasis::RelativeToAllPresences, base, a}; }

// A matrix of n individuals in which every one of the l loci has the same number of presences.
DataMatrix EvenMatrix(std::size_t n, std::size_t l) {
  std::vector<std::string> rows(n, std::string(l, '0'));
  for (std::size_t locus = 0; locus < l; ++locus) {
    rows[locus % n][locus] = '1';
    rows[(locus + 1) % n][locus] = '?';
  }
  return testing::MatrixFromRows(rows);
}

void ExpectClose(Real actual, Real expected) {
  EXPECT_LE(std::fabs(actual - expected), 1e-15L * std::max<Real>(1, std::fabs(expected)))
      << static_cast<double>(actual) << " vs " << static_cast<double>(expected);
}

TEST(Shannon, EqualFrequenciesGiveTheLogarithmOfTheLocusCount) {
  for (std::size_t l : {1u, 2u, 7u, 64u, 129u}) {
    const auto p = LocusBandFrequencies(EvenMatrix(5, l), FrequencyBasis::RelativeToAllPresences);
    const auto result = ShannonBowman(5, *p);
    ASSERT_TRUE(result.ok());
    ExpectClose(result->index, std::log2(static_cast<Real>(l)));
    ExpectClose(ShannonIndex(*p), std::log2(static_cast<Real>(l)));
    ExpectClose(*ToLogBase(result->index, Base(LogBase::E)), std::log(static_cast<Real>(l)));
    ExpectClose(*ToLogBase(result->index, Base(LogBase::Ten)), std::log10(static_cast<Real>(l)));
  }
}

// Shannon's index and Bowman's variance written out directly from their definitions.
TEST(Shannon, IndexAndVarianceMatchAPlainComputationOnRandomData) {
  const unsigned seed = std::random_device{}();
  std::printf("seed %u\n", seed);
  std::mt19937 engine(seed);
  for (std::size_t loci : {1u, 63u, 64u, 65u, 129u}) {
    for (std::size_t n : {1u, 9u, 300u}) {
      const DataMatrix m = testing::RandomMatrix(n, loci, 0.2, 0.3, engine);
      for (FrequencyBasis basis : {FrequencyBasis::RelativeToAllPresences, FrequencyBasis::PerIndividual}) {
        std::vector<Real> presences(loci, 0);
        Real total = 0;
        for (std::size_t l = 0; l < loci; ++l) {
          for (std::size_t i = 0; i < n; ++i) presences[l] += m.At(i, l) == Presence;
          total += presences[l];
        }
        const Real divisor = basis == FrequencyBasis::PerIndividual ? static_cast<Real>(n) : total;
        Real index = 0, squares = 0;
        for (Real count : presences) {
          if (count == 0) continue;
          const Real p = count / divisor;
          index -= p * std::log2(p);
          squares += p * std::log2(p) * std::log2(p);
        }
        const Real nn = static_cast<Real>(n);
        const Real variance = (squares - index * index) / nn + (static_cast<Real>(loci) - 1) / (2 * nn * nn);

        const auto p = LocusBandFrequencies(m, basis);
        const auto result = ShannonBowman(n, *p);
        SCOPED_TRACE(std::to_string(n) + " x " + std::to_string(loci));
        ExpectClose(result->index, index);
        ExpectClose(result->variance, variance);
      }
    }
  }
}

TEST(Shannon, ALocusWithoutPresencesStillCountsInTheVariance) {
  const std::vector<Real> p = {0.5L, 0.5L};
  const std::vector<Real> withEmpty = {0.5L, 0, 0.5L};
  const auto two = ShannonBowman(4, p);
  const auto three = ShannonBowman(4, withEmpty);
  EXPECT_EQ(two->index, three->index);
  EXPECT_EQ(three->variance - two->variance, 1.0L / 32);  // (L - 1) / (2 N^2) grows by 1/32
}

TEST(Shannon, MoreThan255IndividualsUseTheTrueSquare) {
  const std::vector<Real> p = {1.0L};
  const std::vector<Real> p2 = {0.5L, 0.5L};
  EXPECT_EQ(ShannonBowman(300, p)->variance, 0);
  ExpectClose(ShannonBowman(300, p2)->variance, 1.0L / (2 * 90000.0L));
}

TEST(Shannon, TheBaseFactorMultipliesTheIndexAndItsSquareTheVariance) {
  const Real ln2 = std::log(2.0L);
  const std::pair<ShannonScaling, Real> cases[] = {
      {Base(LogBase::Two, 10), 1},  // the choice decides, not A
      {Base(LogBase::E), ln2},
      {Base(LogBase::Ten), ln2 / std::log(10.0L)},
      {Base(LogBase::Other, 3), ln2 / std::log(3.0L)},
      {Base(LogBase::Other, 0.5L), -1},  // a negative factor, and still a positive variance
  };
  for (const auto& [scaling, factor] : cases) {
    const ShannonVariance scaled = *ToLogBase(ShannonVariance{0.25L, 0.5L}, scaling);
    ExpectClose(scaled.index, 0.25L * factor);
    ExpectClose(scaled.variance, 0.5L * factor * factor);
  }
}

TEST(Shannon, ABaseWithoutLogarithmsIsRefused) {
  for (Real a : {1.0L, 0.0L, -2.0L}) {
    const auto converted = ToLogBase(1, Base(LogBase::Other, a));
    ASSERT_FALSE(converted.ok());
  }
  EXPECT_EQ(ToLogBase(1, Base(LogBase::Other, 1)).error(),
            "Logarithms to base A = 1.000000000 do not exist. Please choose another base under Options > Shannon Scaling.");
}

TEST(Shannon, NoLociOrNoIndividualsHaveNoVariance) {
  EXPECT_EQ(ShannonIndex({}), 0);
  EXPECT_EQ(ShannonBowman(5, {}).error(), "Shannon's index needs at least one locus.");
  const std::vector<Real> p = {1.0L};
  EXPECT_EQ(ShannonBowman(0, p).error(), "Shannon's index needs at least one individual.");
}

TEST(Shannon, StandardDeviationOfANegativeVarianceIsZero) {
  EXPECT_EQ(StandardDeviation(-0.5L), 0);
  EXPECT_EQ(StandardDeviation(0), 0);
  EXPECT_EQ(StandardDeviation(0.25L), 0.5L);
}

}  // namespace
}  // namespace vorn
