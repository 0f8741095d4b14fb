#include "trees/upgma.h"

#include <gtest/gtest.h>

#include <cmath>

#include "similarity/coefficients.h"
#include "similarity/distance_transformation.h"
#include "trees/literal_trees.h"
#include "trees/newick_writer.h"
#include "support/kernel_path_parameter.h"
#include "trees/random_distances.h"

namespace vorn {
namespace {

using testing::DistanceKind;
using testing::RandomDistances;

DistanceMatrix Triangle(std::size_t n, const std::vector<Real>& lower) {
  DistanceMatrix d(n);
  d.entries = lower;
  return d;
}

TEST(BuildUPGMA, ThreeOtusJoinTheClosestPairFirst) {
  // d(1,2) = 0.2, d(1,3) = 0.6, d(2,3) = 0.4
  auto tree = BuildUPGMA(Triangle(3, {0, 0.2L, 0, 0.6L, 0.4L, 0}), LabelTable());
  ASSERT_TRUE(tree.ok()) << tree.error();
  const TreeNodeTable& t = *tree;
  ASSERT_EQ(t.Count(), 5u);
  EXPECT_EQ(t[1].name, "OTU2");
  EXPECT_EQ(t[2].name, "OTU1");
  EXPECT_EQ(t[1].length, 0.1L);
  EXPECT_EQ(t[1].node, 3);
  EXPECT_EQ(t[3].name, "Internal");
  EXPECT_EQ(t[3].descendants, 2);
  EXPECT_EQ(t[3].node, 5);
  EXPECT_NEAR(static_cast<double>(t[3].length), 0.15, 1e-15);
  EXPECT_EQ(t[4].name, "OTU3");
  EXPECT_EQ(t[4].length, (0.6L + 0.4L) / 2 / 2);
  EXPECT_EQ(t[5].name, "last node");
  EXPECT_EQ(t[5].node, 0);
  EXPECT_EQ(t[5].length, 0);
  EXPECT_EQ(t[5].descendants, 2);
  for (std::size_t k = 1; k <= 5; ++k) {
    EXPECT_EQ(t[k].number, k);
    EXPECT_EQ(t[k].descriptor, 0u);
  }
}

TEST(BuildUPGMA, OtusTiedAtTheMinimumJoinInOneNode) {
  // d(1,2) = d(2,3) = 0.1 is the smallest distance; the fourth OTU joins later.
  auto tree = BuildUPGMA(Triangle(4, {0, 0.1L, 0, 0.3L, 0.1L, 0, 0.9L, 0.8L, 0.7L, 0}),
                               LabelTable({"a", "b", "c", "d"}));
  ASSERT_TRUE(tree.ok()) << tree.error();
  const TreeNodeTable& t = *tree;
  ASSERT_EQ(t.Count(), 6u);
  EXPECT_EQ(t[1].name, "b");
  EXPECT_EQ(t[2].name, "a");
  EXPECT_EQ(t[3].name, "c");
  const Real h = (0.1L + 0.1L + 0.3L) / 6;  // pairs (2,1), (2,3), (1,3) in set order
  for (std::size_t k = 1; k <= 3; ++k) {
    EXPECT_EQ(t[k].length, h);
    EXPECT_EQ(t[k].node, 4);
  }
  EXPECT_EQ(t[4].descendants, 3);
  EXPECT_EQ(t[5].name, "d");
  EXPECT_EQ(t[5].length, (0.8L + 0.9L + 0.7L) / 3 / 2);
  EXPECT_EQ(t[6].name, "last node");
}

TEST(BuildUPGMA, AZeroDistanceIsJoinedAtHeightZero) {
  auto tree = BuildUPGMA(Triangle(3, {0, 0.5L, 0, 0, 0.5L, 0}), LabelTable());
  ASSERT_TRUE(tree.ok());
  EXPECT_EQ((*tree)[1].name, "OTU3");
  EXPECT_EQ((*tree)[2].name, "OTU1");
  EXPECT_EQ((*tree)[1].length, 0);
}

TEST(BuildUPGMA, InconsistentInputAbandonsTheTree) {
  EXPECT_EQ(BuildUPGMA(Triangle(3, {0, 1000, 0, 1200, 1000, 0}), LabelTable()).error(),
            "psTrees.UPGMA/ShortestDist: error in input matrix");
  // Joined only as far as distances below 1000 reach: the half-built tree is not given.
  EXPECT_EQ(BuildUPGMA(Triangle(3, {0, 0.2L, 0, 1000, 1000, 0}), LabelTable()).error(),
            "psTrees.UPGMA/ShortestDist: error in input matrix");
  EXPECT_EQ(BuildUPGMA(Triangle(1, {0}), LabelTable()).error(), "A tree needs at least two individuals.");
}

TEST(BuildUPGMA, NoOtuIsJoinedWithItselfWhateverItsDiagonalHolds) {
  // An Average matrix draws the diagonal of an individual without bands and with missing scores
  // anywhere between its bounds; a smaller value than every pair's must not stop the tree.
  const Real nan = std::numeric_limits<Real>::quiet_NaN();
  const auto expected = BuildUPGMA(Triangle(3, {0, 0.5L, 0, 0.6L, 0.7L, 0}), LabelTable());
  for (Real self : {Real{0.25L}, Real{-1}, Real{1e-30L}, Real{1500}, nan}) {
    const auto tree = BuildUPGMA(Triangle(3, {self, 0.5L, self, 0.6L, 0.7L, self}), LabelTable());
    EXPECT_TRUE(tree.ok() && *tree == *expected) << static_cast<double>(self);
  }
}

TEST(BuildUPGMA, DistancesAtTheCeilingCanJoinThroughTheirMean) {
  // (1,2) join first; the new cluster's distance to 3 is (1500 + 100) / 2 = 800.
  auto tree = BuildUPGMA(Triangle(3, {0, 0.2L, 0, 1500, 100, 0}), LabelTable());
  ASSERT_TRUE(tree.ok());
  EXPECT_EQ((*tree)[4].length, 400);
}

TEST(BuildUPGMA, NotANumberIsNeverTheMinimum) {
  const Real nan = std::numeric_limits<Real>::quiet_NaN();
  auto tree = BuildUPGMA(Triangle(3, {nan, 0.5L, 0, 0.2L, 0.4L, 0}), LabelTable());
  ASSERT_TRUE(tree.ok());
  EXPECT_EQ((*tree)[1].name, "OTU3");
  EXPECT_EQ((*tree)[2].name, "OTU1");
  // A not-a-number distance spreads into the mean, which can then never be joined.
  EXPECT_EQ(BuildUPGMA(Triangle(3, {0, nan, 0, 0.2L, 0.4L, 0}), LabelTable()).error(),
            "psTrees.UPGMA/ShortestDist: error in input matrix");
}

// The fast builder against the literal one: whole node tables (a not-a-number length, from a
// join of members some of whose distances were not numbers, matches one) and their text, or the
// same failure.
void ExpectSameAsLiteral(const DistanceMatrix& d, const std::string& trace) {
  SCOPED_TRACE(trace);
  auto fast = BuildUPGMA(d, LabelTable());
  auto slow = literal::UPGMA(d, LabelTable());
  ASSERT_EQ(fast.ok(), slow.ok()) << (fast.ok() ? slow.error() : fast.error());
  if (!fast.ok()) {
    EXPECT_EQ(fast.error(), slow.error());
    return;
  }
  ASSERT_EQ(fast->Count(), slow->Count());
  for (std::size_t k = 1; k <= fast->Count(); ++k) {
    TreeNode record = (*fast)[k], expected = (*slow)[k];
    if (std::isnan(record.length) && std::isnan(expected.length)) record.length = expected.length = 0;
    ASSERT_EQ(record, expected) << "record " << k << ": " << record.name << " vs " << expected.name;
  }
  EXPECT_EQ(TreeToNewick(*fast, "t"), literal::TreeToNewick(*slow, "t"));
}

// The comparisons with the literal algorithm run on each path of the row scan.
using BuildUpgmaOnEachPath = testing::OnEachPathOf<Kernel::UpgmaRowScan>;
INSTANTIATE_TEST_SUITE_P(Paths, BuildUpgmaOnEachPath, testing::EveryKernelPath(), testing::KernelPathTestName);

TEST_P(BuildUpgmaOnEachPath, EqualsTheLiteralAlgorithmOnRandomMatrices) {
  const unsigned seed = std::random_device()();
  std::mt19937 random(seed);
  const std::vector<std::size_t> sizes{2, 3, 4, 5, 7, 10, 16, 31, 63, 64, 65};
  for (DistanceKind kind : {DistanceKind::Continuous, DistanceKind::FewLevels, DistanceKind::WithCeiling}) {
    for (int round = 0; round < 40; ++round) {
      const std::size_t n = round < 11 ? sizes[round] : 2 + random() % 40;
      ExpectSameAsLiteral(RandomDistances(n, kind, random),
                          "seed " + std::to_string(seed) + ", kind " + std::to_string(static_cast<int>(kind)) + ", round " + std::to_string(round));
    }
  }
}

TEST_P(BuildUpgmaOnEachPath, EqualsTheLiteralAlgorithmOnLargerMatrices) {
  const unsigned seed = std::random_device()();
  std::mt19937 random(seed);
  for (DistanceKind kind : {DistanceKind::Continuous, DistanceKind::FewLevels}) {
    for (std::size_t n : {129u, 200u}) {
      ExpectSameAsLiteral(RandomDistances(n, kind, random), "seed " + std::to_string(seed) + ", n " + std::to_string(n));
    }
  }
}

// A matrix of n whose lower triangle takes each entry from value(), row by row.
template <typename Value>
DistanceMatrix FilledMatrix(std::size_t n, Value value) {
  DistanceMatrix d(n);
  for (std::size_t i = 0; i < n; ++i) {
    for (std::size_t j = 0; j < i; ++j) d(i, j) = value();
  }
  return d;
}

TEST_P(BuildUpgmaOnEachPath, EqualsTheLiteralAlgorithmOnDistancesOfEverySignificandBit) {
  // Means found in integers round as the floating-point unit does: random 64-bit significands,
  // exponents close together and far apart (sums rounding up, to even, carrying into the next
  // power of two), and zeros and tiny values that are left to the floating-point unit.
  const unsigned seed = std::random_device()();
  std::mt19937_64 random(seed);
  for (int round = 0; round < 30; ++round) {
    const std::size_t n = 3 + random() % 60;
    const DistanceMatrix d = FilledMatrix(n, [&]() -> Real {
      const std::uint64_t bits = random() % 4 == 0 ? ~std::uint64_t{0} << (random() % 3) : random();
      const int exponent = random() % 8 == 0 ? static_cast<int>(random() % 140) - 16400 : static_cast<int>(random() % 70) - 70;
      return random() % 16 == 0 ? 0 : std::ldexp(static_cast<Real>(bits | std::uint64_t{1} << 63), exponent);
    });
    ExpectSameAsLiteral(d, "seed " + std::to_string(seed) + ", round " + std::to_string(round));
  }
}

TEST_P(BuildUpgmaOnEachPath, EqualsTheLiteralAlgorithmOnSignedZerosInfinitiesAndNotANumbers) {
  // Rows long enough to be read in blocks of sixteen, with the values whose leading bits do not
  // order them as numbers: negatives, both zeros, infinities and not-a-numbers of either sign.
  const Real nan = std::numeric_limits<Real>::quiet_NaN(), inf = std::numeric_limits<Real>::infinity();
  const std::vector<Real> odd{-nan, nan, -inf, inf, -0.0L, 0, -0.25L, 0.5L};
  const unsigned seed = std::random_device()();
  std::mt19937 random(seed);
  for (int round = 0; round < 6; ++round) {
    const std::size_t n = 64 + random() % 100;
    const DistanceMatrix d = FilledMatrix(n, [&]() -> Real {
      return random() % 5 == 0 ? odd[random() % odd.size()] : static_cast<Real>(random() % 64) / 64;
    });
    ExpectSameAsLiteral(d, "seed " + std::to_string(seed) + ", round " + std::to_string(round));
  }
}

TEST_P(BuildUpgmaOnEachPath, EqualsTheLiteralAlgorithmOnTiesAfterMerging) {
  // Levels that averages reproduce (0.25 and 0.75 average to 0.5), so ties arise between new
  // clusters and old ones as well.
  const unsigned seed = std::random_device()();
  std::mt19937 random(seed);
  for (int round = 0; round < 40; ++round) {
    const std::size_t n = 3 + random() % 30;
    DistanceMatrix d(n);
    for (std::size_t i = 0; i < n; ++i) {
      for (std::size_t j = 0; j < i; ++j) d(i, j) = static_cast<Real>(random() % 5) / 4;
    }
    ExpectSameAsLiteral(d, "seed " + std::to_string(seed) + ", round " + std::to_string(round));
  }
}

TEST_P(BuildUpgmaOnEachPath, EqualsTheLiteralAlgorithmOnDistancesFromScoresWithMissing) {
  // Few loci with missing scores give coefficients from a small set of fractions (many ties,
  // zeros, and not-a-number where a pair shares no scored locus), under each treatment of the
  // missing scores; sizes up to a few hundred make rows run out of candidates and slots repack.
  const unsigned seed = std::random_device()();
  std::mt19937 random(seed);
  const SimilarityCoefficient coefficients[] = {SimilarityCoefficient::Jaccard, SimilarityCoefficient::Dice, SimilarityCoefficient::SMC};
  const SimilarityMode modes[] = {SimilarityMode::Standard, SimilarityMode::Minimum, SimilarityMode::Maximum};
  for (int round = 0; round < 12; ++round) {
    const std::size_t n = round < 9 ? 5 + random() % 60 : 150 + random() % 150, loci = 3 + random() % 10;
    std::vector<int> scores(n * loci);  // 0 absent, 1 present, 2 missing
    for (int& score : scores) score = random() % 10 < 2 ? 2 : static_cast<int>(random() % 2);
    DistanceMatrix similarity(n);
    for (std::size_t i = 0; i < n; ++i) {
      for (std::size_t j = 0; j <= i; ++j) {
        PairCounts counts;
        for (std::size_t l = 0; l < loci; ++l) {
          const int x = scores[i * loci + l], y = scores[j * loci + l];
          if (x == 2 && y == 2) {
            ++counts.r;
          } else if (x == 2 || y == 2) {
            ++(x + y == 3 ? counts.p : counts.q);
          } else {
            ++(x + y == 2 ? counts.a : x + y == 1 ? counts.bPlusC : counts.d);
          }
        }
        similarity(i, j) = CoefficientValue(coefficients[round % 3], modes[round / 3 % 3], counts, 1);
      }
    }
    ExpectSameAsLiteral(TransformMatrix(similarity, static_cast<DistanceTransformation>(round % 3)),
                        "seed " + std::to_string(seed) + ", round " + std::to_string(round));
  }
}

TEST(BuildUPGMA, LabelsNameTheLeaves) {
  auto tree = BuildUPGMA(Triangle(2, {0, 0.4L, 0}), LabelTable({"first", "a-label-of-20-chars!"}));
  ASSERT_TRUE(tree.ok());
  EXPECT_EQ((*tree)[1].name, "a-label-of-20-chars!");
  EXPECT_EQ((*tree)[2].name, "first");
}

}  // namespace
}  // namespace vorn
