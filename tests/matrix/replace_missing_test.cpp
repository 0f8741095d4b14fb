#include "matrix/replace_missing.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <vector>

#include "support/test_matrix.h"

namespace vorn {
namespace {

std::vector<Cell> Replaced(const std::vector<Cell>& source, double q, RandomGenerator& random) {
  std::vector<Cell> destination(source.size(), 77);
  ReplaceMissing(source, destination, q, random);
  return destination;
}

// The state that the next draw advances to `target`: the step inverted with the multiplier's
// inverse modulo 2^32.
std::uint32_t StateBefore(std::uint32_t target) {
  std::uint32_t inverse = 1;
  for (int i = 0; i < 5; ++i) inverse *= 2u - 134775813u * inverse;  // Newton steps for 1/a mod 2^32
  return (target - 1u) * inverse;
}

TEST(ReplaceMissing, ZeroAndOneReplaceEverythingAndDrawNothing) {
  const std::vector<Cell> source = {Missing, Presence, Absence, Missing};
  RandomGenerator random;
  random.Seed(99);
  EXPECT_EQ(Replaced(source, 0.0, random), (std::vector<Cell>{Absence, Presence, Absence, Absence}));
  EXPECT_EQ(Replaced(source, 1.0, random), (std::vector<Cell>{Presence, Presence, Absence, Presence}));
  EXPECT_EQ(random.State(), 99u);
}

TEST(ReplaceMissing, OneDrawPerMissingCellInCellOrder) {
  const unsigned seed = std::random_device{}();
  std::printf("seed %u\n", seed);
  std::mt19937 engine(seed);
  for (std::size_t loci : {1u, 63u, 64u, 65u, 129u}) {
    const DataMatrix m = testing::RandomMatrix(11, loci, 0.3, 0.4, engine);
    for (double q : {0.01, 0.3, 0.5, 0.99}) {
      RandomGenerator random;
      random.Seed(engine());
      RandomGenerator reference = random;
      const std::vector<Cell> replaced = Replaced(m.cells, q, random);
      for (std::size_t k = 0; k < m.cells.size(); ++k) {
        Cell expected = m.cells[k];
        if (expected == Missing) expected = reference.NextReal() <= q ? Presence : Absence;
        ASSERT_EQ(replaced[k], expected) << "cell " << k;
      }
      EXPECT_EQ(random.State(), reference.State());
    }
  }
}

TEST(ReplaceMissing, ADrawEqualToTheShareGivesAPresence) {
  RandomGenerator random;
  random.Seed(StateBefore(1u << 30));  // the draw is exactly 0.25
  EXPECT_EQ(Replaced({Missing}, 0.25, random), std::vector<Cell>{Presence});
  random.Seed(StateBefore((1u << 30) + 1));  // just above
  EXPECT_EQ(Replaced({Missing}, 0.25, random), std::vector<Cell>{Absence});
}

TEST(ReplaceMissing, AMatrixWithoutMissingScoresIsCopied) {
  const std::vector<Cell> source = {Presence, Absence, Absence, Presence};
  RandomGenerator random;
  random.Seed(5);
  for (double q : {0.0, 0.4, 1.0}) EXPECT_EQ(Replaced(source, q, random), source);
  EXPECT_EQ(random.State(), 5u);
}

}  // namespace
}  // namespace vorn
