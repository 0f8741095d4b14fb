// Relabelling runs against brute force over the permutations, and G' on a hand-worked pair.
#include "clustering/run_alignment.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>

#include "core/random_generator.h"

namespace vorn {
namespace {

std::vector<double> RandomQ(std::size_t n, std::size_t k, RandomGenerator& random) {
  std::vector<double> q(n * k);
  for (std::size_t i = 0; i < n; ++i) {
    double sum = 0;
    for (std::size_t c = 0; c < k; ++c) sum += q[i * k + c] = static_cast<double>(random.NextReal());
    for (std::size_t c = 0; c < k; ++c) q[i * k + c] /= sum;
  }
  return q;
}

double SquaredDistance(const std::vector<double>& a, const std::vector<double>& b) {
  double sum = 0;
  for (std::size_t j = 0; j < a.size(); ++j) sum += (a[j] - b[j]) * (a[j] - b[j]);
  return sum;
}

TEST(BestRelabelling, FindsTheClosestPermutationAsBruteForceDoes) {
  RandomGenerator random;
  random.Seed(314);
  for (std::size_t k = 1; k <= 6; ++k) {
    for (int trial = 0; trial < 5; ++trial) {
      const std::vector<double> a = RandomQ(9, k, random), b = RandomQ(9, k, random);
      std::vector<std::size_t> perm(k);
      std::iota(perm.begin(), perm.end(), std::size_t{0});
      double closest = INFINITY;
      do closest = std::min(closest, SquaredDistance(a, Relabelled(b, k, perm)));
      while (std::next_permutation(perm.begin(), perm.end()));
      const double found = SquaredDistance(a, Relabelled(b, k, BestRelabelling(a, b, k)));
      EXPECT_NEAR(found, closest, 1e-12) << "K = " << k << ", trial " << trial;
    }
  }
}

TEST(BestRelabelling, UndoesAShuffleOfLabelsBeyondTheExhaustiveRange) {
  RandomGenerator random;
  random.Seed(2718);
  for (const std::size_t k : {std::size_t{8}, std::size_t{10}}) {
    // Individuals mostly of one cluster, so that each label is plain to see.
    std::vector<double> a(40 * k, 0.02 / double(k - 1));
    for (std::size_t i = 0; i < 40; ++i) a[i * k + i % k] = 0.98;
    std::vector<std::size_t> shuffle(k);
    std::iota(shuffle.begin(), shuffle.end(), std::size_t{0});
    for (std::size_t c = k; c > 1; --c) std::swap(shuffle[c - 1], shuffle[random.NextBelow(std::uint32_t(c))]);
    const std::vector<double> b = Relabelled(a, k, shuffle);
    EXPECT_EQ(Relabelled(b, k, BestRelabelling(a, b, k)), a) << "K = " << k;
  }
}

TEST(SimilarityGPrime, HandWorkedPair) {
  // A = [[1, 0], [0, 1]], B = [[0.5, 0.5], [0, 1]], W = 0.5: ||A - B|| = sqrt(0.5),
  // ||A - W|| = 1, ||B - W|| = sqrt(0.5): G' = 1 - sqrt(0.5) / 0.5^0.25.
  const std::vector<double> a = {1, 0, 0, 1}, b = {0.5, 0.5, 0, 1};
  EXPECT_NEAR(SimilarityGPrime(a, b, 2), 1 - std::sqrt(0.5) / std::pow(0.5, 0.25), 1e-15);
  EXPECT_EQ(SimilarityGPrime(a, a, 2), 1);
  EXPECT_EQ(SimilarityGPrime({1, 1, 1}, {1, 1, 1}, 1), 1);
}

}  // namespace
}  // namespace vorn
