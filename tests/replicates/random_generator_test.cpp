#include "core/random_generator.h"
#include "replicates/resample_loci.h"

#include <gtest/gtest.h>

#include <numeric>
#include <vector>

namespace vorn {
namespace {

TEST(RandomGenerator, FromZeroTheFirstRealIsOneOverTwoToThe32) {
  RandomGenerator random;
  random.Seed(0);
  EXPECT_EQ(random.NextReal(), 1.0L / 4294967296.0L);
  EXPECT_EQ(random.State(), 1u);
  random.NextReal();
  EXPECT_EQ(random.State(), 134775814u);
}

TEST(RandomGenerator, StepWrapsModuloTwoToThe32) {
  RandomGenerator random;
  random.Seed(0xFFFFFFFFu);
  random.NextReal();
  EXPECT_EQ(random.State(), static_cast<std::uint32_t>(0xFFFFFFFFull * 134775813ull + 1));
}

TEST(RandomGenerator, TheLargestRealIsBelowOne) {
  RandomGenerator random;
  random.Seed(0x4D60AE66u);  // advances to 0xFFFFFFFF
  EXPECT_EQ(random.NextReal(), 4294967295.0L / 4294967296.0L);
}

// Counting and skipping give what drawing one by one gives: the count of NextReal draws
// u <= high / 2^32 and the same state after, for counts around the block of 16.
TEST(RandomGenerator, CountingAndSkippingMatchDrawingOneByOne) {
  for (std::uint32_t count : {0u, 1u, 15u, 16u, 17u, 33u, 1000u}) {
    for (std::uint32_t high : {0u, 1u, 0x7FFFFFFFu, 0xFFFFFFFEu, 0xFFFFFFFFu}) {
      RandomGenerator one, counted, skipped;
      one.Seed(count * 7919u + high);
      counted = skipped = one;
      std::uint32_t atMost = 0;
      for (std::uint32_t k = 0; k < count; ++k) atMost += one.NextReal() <= high / 4294967296.0L;
      EXPECT_EQ(counted.CountWordsAtMost(high, count), atMost) << count << ", " << high;
      skipped.Skip(count);
      EXPECT_EQ(counted.State(), one.State());
      EXPECT_EQ(skipped.State(), one.State());
    }
  }
  RandomGenerator far, stepped;
  far.Skip(1000003);
  for (int k = 0; k < 1000003; ++k) stepped.NextWord();
  EXPECT_EQ(far.State(), stepped.State());
}

TEST(RandomGenerator, NextBelowTakesTheUpperHalfOfTheProduct) {
  RandomGenerator random;
  random.Seed(41);
  RandomGenerator twin = random;
  for (std::uint32_t n : {1u, 2u, 7u, 1000u, 65535u}) {
    const std::uint32_t drawn = random.NextBelow(n);
    twin.NextReal();
    EXPECT_EQ(drawn, static_cast<std::uint32_t>((std::uint64_t{twin.State()} * n) >> 32));
    EXPECT_LT(drawn, n);
  }
}

TEST(RandomGenerator, NextBelowOneIsZeroAndStillAdvances) {
  RandomGenerator random;
  random.Seed(5);
  EXPECT_EQ(random.NextBelow(1), 0u);
  EXPECT_EQ(random.State(), 5u * 134775813u + 1u);
}

// DrawWordsWithin and SumWordsWithin pass the states a loop of NextWord calls passes, for counts
// around the blocks of 16 and the rounds of 64 states and for many rounds.
TEST(RandomGenerator, DrawWordsWithinPassesTheSameStatesAsOneDrawAtATime) {
  for (const auto& [low, high] : std::vector<std::pair<std::uint32_t, std::uint32_t>>{
           {0, 0xFFFFFFFFu}, {1000000000u, 1400000000u}, {0xFFFFF000u, 0xFFFFFFFFu}, {0, 4096}, {77, 77 + (1u << 20)}}) {
    for (const std::uint32_t count : {0u, 1u, 2u, 15u, 16u, 17u, 50u, 64u, 65u, 129u, 3000u}) {
      if (high - low < (1u << 20) && count > 50) continue;  // a long wait for so rare a state
      RandomGenerator fast, summed, plain;
      fast.Seed(12345 + count);
      summed = plain = fast;
      std::vector<std::uint32_t> drawn, expected;
      fast.DrawWordsWithin(low, high, count, [&](std::uint32_t word) { drawn.push_back(word); });
      while (expected.size() < count) {
        const std::uint32_t word = plain.NextWord();
        if (word >= low && word <= high) expected.push_back(word);
      }
      ASSERT_EQ(drawn, expected) << low << ".." << high << " count " << count;
      ASSERT_EQ(fast.State(), plain.State());
      ASSERT_EQ(summed.SumWordsWithin(low, high, count), std::accumulate(expected.begin(), expected.end(), std::uint64_t{0}));
      ASSERT_EQ(summed.State(), plain.State());
    }
  }
}

TEST(RandomGenerator, FillBelowDrawsWhatNextBelowDrawsOneByOne) {
  for (std::size_t count : {0u, 1u, 15u, 16u, 17u, 100u}) {
    RandomGenerator block, single;
    block.Seed(77);
    single.Seed(77);
    std::vector<std::uint32_t> drawn(count);
    block.FillBelow(1000003, drawn.data(), count);
    for (std::size_t k = 0; k < count; ++k) EXPECT_EQ(drawn[k], single.NextBelow(1000003)) << count << ", " << k;
    EXPECT_EQ(block.State(), single.State()) << count;
  }
}

TEST(RandomGenerator, NextRealIsTheWordOverTwoToThe32) {
  RandomGenerator a, b;
  a.Seed(99);
  b.Seed(99);
  EXPECT_EQ(a.NextReal(), b.NextWord() / 4294967296.0L);
}

// Six loci of three individuals; locus k holds k in each cell so that copies are traceable.
std::vector<Cell> Traceable(std::size_t n, std::size_t loci) {
  std::vector<Cell> cells(n * loci);
  for (std::size_t k = 0; k < loci; ++k) std::fill_n(cells.begin() + static_cast<long>(k * n), n, static_cast<Cell>(k));
  return cells;
}

TEST(ResampleLoci, DrawsExactlyOneLocusPerTargetLocusInOrder) {
  const std::size_t n = 3, loci = 6;
  const auto source = Traceable(n, loci);
  std::vector<Cell> target(n * loci, 99);
  RandomGenerator random, expected;
  random.Seed(2026);
  expected.Seed(2026);
  ResampleLoci(source.data(), target.data(), n, loci, random);
  for (std::size_t a = 0; a < loci; ++a) {
    const Cell drawn = static_cast<Cell>(expected.NextBelow(loci));
    for (std::size_t i = 0; i < n; ++i) EXPECT_EQ(target[a * n + i], drawn);
  }
  EXPECT_EQ(random.State(), expected.State());
}

TEST(ResampleLoci, OneLocusIsCopiedAndNoIndividualsStillDraw) {
  RandomGenerator random;
  random.Seed(9);
  const std::vector<Cell> source = {Presence, Missing};
  std::vector<Cell> target(2);
  ResampleLoci(source.data(), target.data(), 2, 1, random);
  EXPECT_EQ(target, source);

  RandomGenerator empty, expected;
  empty.Seed(9);
  expected.Seed(9);
  ResampleLoci(nullptr, nullptr, 0, 4, empty);
  for (int i = 0; i < 4; ++i) expected.NextReal();
  EXPECT_EQ(empty.State(), expected.State());
}

TEST(ResampleLoci, SuccessiveReplicatesDiffer) {
  const auto source = Traceable(2, 50);
  std::vector<Cell> first(100), second(100);
  RandomGenerator random;
  random.Seed(1);
  ResampleLoci(source.data(), first.data(), 2, 50, random);
  ResampleLoci(source.data(), second.data(), 2, 50, random);
  EXPECT_NE(first, second);
}

}  // namespace
}  // namespace vorn
