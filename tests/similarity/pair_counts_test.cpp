#include "similarity/pair_counts.h"

#include <gtest/gtest.h>

#include "similarity/reference_coefficients.h"
#include "support/kernel_path_parameter.h"

namespace vorn {
namespace {

using testing::RandomScores;
using testing::ReferencePairCount;
using testing::TestSeed;

PairCounts ReferenceCounts(const Cell* blockA, std::size_t nA, std::size_t i, const Cell* blockB, std::size_t nB,
                           std::size_t j, std::size_t loci) {
  const auto n = [&](Cell x, Cell y) {
    return static_cast<std::uint32_t>(ReferencePairCount(blockA, nA, i, blockB, nB, j, loci, x, y));
  };
  PairCounts counts;
  counts.a = n(Presence, Presence);
  counts.bPlusC = n(Presence, Absence) + n(Absence, Presence);
  counts.d = n(Absence, Absence);
  counts.p = n(Presence, Missing) + n(Missing, Presence);
  counts.q = n(Absence, Missing) + n(Missing, Absence);
  counts.r = n(Missing, Missing);
  return counts;
}

// Word boundaries: one locus, one short of a word, a word, one past it, two words and one.
class PairCountsAtWordBoundaries : public ::testing::TestWithParam<std::size_t> {};

TEST_P(PairCountsAtWordBoundaries, PackedCountsEqualTheByteByByteCounts) {
  const std::size_t loci = GetParam();
  const std::uint32_t seed = TestSeed();
  // Missing-heavy and presence-heavy blocks too, so that every count gets large and small.
  for (const double missing : {0.0, 0.1, 0.5, 0.95}) {
    const std::size_t n = 7;
    const auto cells = RandomScores(n, loci, missing, 0.5, seed);
    const PackedScores packed(cells.data(), n, loci, 0, n);
    for (std::size_t i = 0; i < n; ++i) {
      for (std::size_t j = 0; j < n; ++j) {
        const PairCounts expected = ReferenceCounts(cells.data(), n, i, cells.data(), n, j, loci);
        EXPECT_EQ(CountPair(packed, i, packed, j), expected) << "i=" << i << " j=" << j << " missing=" << missing;
      }
    }
  }
}

TEST_P(PairCountsAtWordBoundaries, TwoBlocksOfDifferentSizes) {
  const std::size_t loci = GetParam();
  const std::uint32_t seed = TestSeed();
  const std::size_t nA = 5, nB = 3;
  const auto blockA = RandomScores(nA, loci, 0.2, 0.4, seed);
  const auto blockB = RandomScores(nB, loci, 0.2, 0.6, seed + 1);
  for (std::size_t i = 0; i < nA; ++i) {
    for (std::size_t j = 0; j < nB; ++j) {
      EXPECT_EQ(CountPair(blockA.data(), nA, i, blockB.data(), nB, j, loci),
                ReferenceCounts(blockA.data(), nA, i, blockB.data(), nB, j, loci));
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Loci, PairCountsAtWordBoundaries, ::testing::Values(1, 63, 64, 65, 129));

// Each path's row counts equal the byte-by-byte counts: at word boundaries, around its vectors
// of four words, and past the vectors whose counts add up in bytes (with every score a presence
// too, so that each byte counts its most).
class PairCountsOnEachPath : public ::testing::TestWithParam<KernelPath> {};

TEST_P(PairCountsOnEachPath, RowCountsEqualTheByteByByteCounts) {
  const KernelPath path = GetParam();
  if (!PathRuns(Kernel::PairCounts, path)) GTEST_SKIP() << "this processor does not run the path";
  const std::uint32_t seed = TestSeed();
  const std::size_t n = 7;
  for (const std::size_t loci : {1, 63, 64, 65, 129, 255, 256, 257, 319, 7936, 7937, 9000}) {
    for (const auto& [missing, presence] : {std::pair{0.0, 1.0}, {0.1, 0.5}, {0.5, 0.5}, {0.95, 0.5}}) {
      const auto cells = RandomScores(n, loci, missing, presence, seed + static_cast<std::uint32_t>(loci));
      const PackedScores packed(cells.data(), n, loci, 0, n);
      for (std::size_t i = 0; i < n; ++i) {
        std::vector<PairCounts> row(n);
        const std::size_t first = i % 3;  // a stretch of the row, from first
        CountPairs(path, packed, i, packed, first, n, row.data());
        for (std::size_t j = first; j < n; ++j) {
          ASSERT_EQ(row[j - first], ReferenceCounts(cells.data(), n, i, cells.data(), n, j, loci))
              << "loci=" << loci << " missing=" << missing << " row " << i << " j=" << j;
        }
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Paths, PairCountsOnEachPath, testing::EveryKernelPath(), testing::KernelPathTestName);

TEST(PackedScores, BitsPastTheLastLocusStayZero) {
  const std::size_t loci = 65;
  std::vector<Cell> cells(2 * loci, Presence);
  const PackedScores packed(cells.data(), 2, loci, 1, 1);
  ASSERT_EQ(packed.WordCount(), 2u);
  const std::uint64_t* masks = packed.Masks(0);
  EXPECT_EQ(masks[0], ~std::uint64_t{0});  // presence
  EXPECT_EQ(masks[1], 1u);                 // presence of the 65th locus only
  EXPECT_EQ(masks[2], ~std::uint64_t{0});  // scored
  EXPECT_EQ(masks[3], 1u);
}

TEST(PairCounts, TheMatrixFormCountsItsOwnIndividuals) {
  DataMatrix data;
  data.individualCount = 2;
  data.locusCount = 7;
  // Loci: (P,P) (P,A) (A,P) (A,A) (P,M) (M,A) (M,M)
  data.cells = {Presence, Presence, Presence, Absence, Absence, Presence, Absence, Absence,
                Presence, Missing,  Missing,  Absence, Missing, Missing};
  PairCounts expected;
  expected.a = 1;
  expected.bPlusC = 2;
  expected.d = 1;
  expected.p = 1;
  expected.q = 1;
  expected.r = 1;
  EXPECT_EQ(CountPair(data, 0, 1), expected);
}

}  // namespace
}  // namespace vorn
