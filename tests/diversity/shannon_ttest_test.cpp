// The per-group Shannon values and the pairwise t statistic: ν rounded up but not pushed past an
// exact integer, degenerate variances, groups without values, and a t independent of the base.
#include "diversity/shannon_ttest.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <tuple>

#include "matrix/band_frequencies.h"
#include "diversity/shannon.h"
#include "support/test_matrix.h"

namespace vorn {
namespace {

GroupShannon Values(Real index, Real variance, std::size_t size) {
  GroupShannon group;
  group.index = group.index2 = index;
  group.variance = group.variance2 = variance;
  group.size = size;
  return group;
}

TEST(RoundUpDegrees, RoundsUpFractionsButNotAnExactInteger) {
  const Real seven = 7;
  const struct {
    Real degrees;
    std::uint32_t rounded;
  } cases[] = {
      {7.2L, 8}, {7, 7}, {seven * (1 + 2 * LDBL_EPSILON), 7}, {seven * (1 - 2 * LDBL_EPSILON), 7},
      {7.000001L, 8}, {1, 1}, {0.3L, 1}, {70000.5L, 70001},
  };
  for (const auto& c : cases) EXPECT_EQ(RoundUpDegrees(c.degrees), c.rounded) << static_cast<double>(c.degrees);
}

TEST(ShannonPairTest, EqualIndicesGiveTZeroAndPOne) {
  const auto test = ShannonPairTest(Values(2.5L, 0.01L, 10), Values(2.5L, 0.03L, 20));
  ASSERT_TRUE(test);
  EXPECT_EQ(test->t, 0);
  EXPECT_EQ(test->p.value, 1);
}

TEST(ShannonPairTest, TAndDegreesFollowTheWelchFormula) {
  // va = 0.04, vb = 0.01, na = 10, nb = 5: t = 0.5 / sqrt(0.05), ν = 0.0025 / (0.00016 + 0.00002) = 13.9 -> 14.
  const auto test = ShannonPairTest(Values(3.0L, 0.04L, 10), Values(2.5L, 0.01L, 5));
  ASSERT_TRUE(test);
  EXPECT_NEAR(static_cast<double>(test->t), 0.5 / std::sqrt(0.05), 1e-15);
  EXPECT_EQ(test->degrees, 14u);
  EXPECT_EQ(test->p.value, StudentTwoSided(14, test->t).value);
  EXPECT_EQ(test->p.error, 0);
}

TEST(ShannonPairTest, NoTestWhenTheVariancesSumToZeroOrAreNotFinite) {
  EXPECT_FALSE(ShannonPairTest(Values(1, 0, 4), Values(2, 0, 4)));
  EXPECT_FALSE(ShannonPairTest(Values(1, NAN, 4), Values(2, 0.1L, 4)));
  EXPECT_FALSE(ShannonPairTest(Values(1, INFINITY, 4), Values(2, 0.1L, 4)));
  EXPECT_FALSE(ShannonPairTest(Values(NAN, 0.1L, 4), Values(2, 0.1L, 4)));
}

TEST(ShannonPairTest, UsesTheValuesInBitsWhateverTheListedBase) {
  GroupShannon a = Values(3.0L, 0.04L, 10), b = Values(2.5L, 0.01L, 5);
  const auto inBits = ShannonPairTest(a, b);
  a.index *= 0.3L, a.variance *= 0.3L, b.index *= 0.3L, b.variance *= 0.3L;
  const auto listedOtherwise = ShannonPairTest(a, b);
  EXPECT_EQ(inBits->t, listedOtherwise->t);
  EXPECT_EQ(inBits->p.value, listedOtherwise->p.value);
}

const ShannonScaling kBaseE{FrequencyBasis::RelativeToAllPresences, LogBase::E, 2.718281828459045235L};

TEST(GroupShannonBowman, RemovesMonomorphicLociAndConvertsTheVarianceByTheSquaredFactor) {
  const DataMatrix group = testing::MatrixFromRows({"1101", "0101", "1001"});  // loci 3 and 4 monomorphic
  RandomGenerator random;
  const auto result = GroupShannonBowman(group, {10, false, 0.5}, kBaseE, random);
  ASSERT_TRUE(result.ok());
  const auto reduced = testing::MatrixFromRows({"11", "01", "10"});
  const auto bits = *ShannonBowman(3, *LocusBandFrequencies(reduced, FrequencyBasis::RelativeToAllPresences));
  EXPECT_EQ(result->index2, bits.index);
  EXPECT_EQ(result->variance2, bits.variance);
  const Real ln2 = std::log(2.0L);
  EXPECT_EQ(result->index, bits.index * ln2);
  EXPECT_EQ(result->variance, bits.variance * ln2 * ln2);
  EXPECT_EQ(result->size, 3u);
}

TEST(GroupValues, GroupsWithoutIndividualsOrPolymorphicLociHaveNone) {
  RandomGenerator random;
  const DataMatrix empty = testing::MatrixFromRows({});
  // Loci 1 and 2 are monomorphic; locus 3 has fewer presences than missing scores, so it stays.
  const DataMatrix oneLeft = testing::MatrixFromRows({"10?", "10?", "101"});
  const ShannonBootstrapOptions options{100, false, 0.5};
  const ShannonScaling bits;
  EXPECT_EQ(GroupShannonBowman(empty, options, bits, random)->gap, GroupGap::NoIndividuals);
  EXPECT_EQ(GroupShannonBootstrap(empty, options, bits, random)->gap, GroupGap::NoIndividuals);
  const DataMatrix fixed = testing::MatrixFromRows({"10", "10", "10"});
  EXPECT_EQ(GroupShannonBowman(fixed, options, bits, random)->gap, GroupGap::NoPolymorphicLoci);
  EXPECT_EQ(GroupShannonBootstrap(fixed, options, bits, random)->gap, GroupGap::NoPolymorphicLoci);
  EXPECT_EQ(GroupShannonBowman(oneLeft, options, bits, random)->gap, GroupGap::None);
  EXPECT_EQ(random.State(), 0u);  // nothing drawn without replacement
}

TEST(GroupShannonBootstrap, LeavesOutAGroupOnlyWhenReplacementCannotMakeALocusPolymorphic) {
  // Three presences and two missing scores at every locus: monomorphic as scored.
  const DataMatrix group = testing::MatrixFromRows({"111", "111", "111", "???", "???"});
  const std::tuple<bool, double, GroupGap> cases[] = {{false, 0.5, GroupGap::NoPolymorphicLoci},
                                                       {true, 1.0, GroupGap::NoPolymorphicLoci},
                                                       {true, 0.0, GroupGap::None},
                                                       {true, 0.5, GroupGap::None}};
  for (const auto& [replace, share, gap] : cases) {
    RandomGenerator random;
    EXPECT_EQ(GroupShannonBootstrap(group, {50, replace, share}, ShannonScaling{}, random)->gap, gap) << replace << share;
  }
}

TEST(GroupShannonBootstrap, RefusesASingleReplicate) {
  RandomGenerator random;
  const auto result = GroupShannonBootstrap(testing::MatrixFromRows({"10", "01"}), {1, true, 0.5}, {}, random);
  ASSERT_FALSE(result.ok());
  EXPECT_EQ(result.error(), "BsShannon: Only single run selected");
  const auto whole = BootstrapShannon(testing::MatrixFromRows({"10", "01"}), {1, true, 0.5}, {}, random);
  EXPECT_EQ(whole.error(), "BsShannon: Only single run selected performed");
}

}  // namespace
}  // namespace vorn
