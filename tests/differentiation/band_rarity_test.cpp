// Band rarity and richness: DW against its definition counted afresh, the rarefied richness and
// private richness against the mean over every subset of g individuals, and the rarefied DW
// against the documented subsampling redone by hand.
#include "differentiation/band_rarity.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace vorn {
namespace {

struct Sample {
  DataMatrix data;
  std::vector<PopulationMembers> populations;
};

Sample RandomSample(const std::vector<std::size_t>& sizes, std::size_t loci, double missing, std::uint32_t seed) {
  std::mt19937 engine(seed);
  std::uniform_real_distribution<double> uniform(0.0, 1.0);
  Sample s;
  std::size_t total = 0;
  for (std::size_t size : sizes) total += size;
  s.data.individualCount = static_cast<std::uint16_t>(total);
  s.data.locusCount = static_cast<std::uint16_t>(loci);
  s.data.cells.resize(s.data.CellCount());
  s.data.individualLabels = MakeNumberedLabels("i", total);
  for (auto& cell : s.data.cells) cell = uniform(engine) < missing ? Missing : uniform(engine) < 0.3 ? Presence : Absence;
  std::uint32_t i = 0;
  for (std::size_t p = 0; p < sizes.size(); ++p) {
    s.populations.push_back({p + 1, "P" + std::to_string(p + 1), {}});
    for (std::size_t k = 0; k < sizes[p]; ++k) s.populations.back().individuals.push_back(i++);
  }
  return s;
}

TEST(BandRarity, DownWeightedValuesFollowTheirDefinition) {
  const Sample s = RandomSample({6, 9, 4}, 40, 0.1, 2005);
  RandomGenerator random;
  const auto result = ComputeBandRarity(s.data, s.populations, 0, random);
  ASSERT_TRUE(result.ok());
  for (std::size_t j = 0; j < s.populations.size(); ++j) {
    Real total = 0, mean = 0;
    for (std::uint32_t i : s.populations[j].individuals) {
      Real dw = 0;
      for (std::size_t l = 0; l < s.data.locusCount; ++l) {
        if (s.data.At(i, l) != Presence) continue;
        int carriers = 0;
        for (std::uint32_t other = 0; other < s.data.individualCount; ++other) carriers += s.data.At(other, l) == Presence;
        dw += Real(1) / carriers;
      }
      EXPECT_NEAR(double(dw), double(result->individualDW[i]), 1e-15);
      total += dw;
      mean += dw / Real(s.populations[j].individuals.size());
    }
    EXPECT_NEAR(double(total), double(result->populations[j].totalDW), 1e-14);
    EXPECT_NEAR(double(mean), double(result->populations[j].meanDW), 1e-14);
    EXPECT_TRUE(std::isnan(result->populations[j].rarefiedMean));
  }
}

// Every choice of g scored individuals from each population at a locus, jointly: the mean count
// of bands present, and of bands present in the population and in none of the others' choices.
TEST(BandRarity, RarefiedRichnessEqualsEnumerationOfEverySubset) {
  const Sample s = RandomSample({5, 4, 6}, 25, 0.1, 2004);
  RandomGenerator random;
  const auto result = ComputeBandRarity(s.data, s.populations, 0, random);
  ASSERT_TRUE(result.ok());
  ASSERT_GE(result->rarefactionMaximum, 2u);
  const std::size_t P = s.populations.size();
  for (std::uint32_t g = 2; g <= result->rarefactionMaximum; ++g) {
    std::vector<Real> richness(P, 0), privateRichness(P, 0);
    for (std::size_t l = 0; l < s.data.locusCount; ++l) {
      // Per population, the subsets of its scored individuals at l and whether each holds the band.
      std::vector<std::vector<bool>> holds(P);
      for (std::size_t j = 0; j < P; ++j) {
        std::vector<std::uint32_t> scored;
        for (std::uint32_t i : s.populations[j].individuals) {
          if (s.data.At(i, l) != Missing) scored.push_back(i);
        }
        for (std::uint32_t mask = 0; mask < (1u << scored.size()); ++mask) {
          if (std::popcount(mask) != int(g)) continue;
          bool band = false;
          for (std::size_t k = 0; k < scored.size(); ++k) band = band || ((mask >> k & 1) && s.data.At(scored[k], l) == Presence);
          holds[j].push_back(band);
        }
      }
      std::vector<std::size_t> pick(P, 0);
      Real combinations = 0;
      std::vector<Real> present(P, 0), alone(P, 0);
      while (true) {
        combinations += 1;
        for (std::size_t j = 0; j < P; ++j) {
          if (!holds[j][pick[j]]) continue;
          present[j] += 1;
          bool elsewhere = false;
          for (std::size_t k = 0; k < P; ++k) elsewhere = elsewhere || (k != j && holds[k][pick[k]]);
          alone[j] += !elsewhere;
        }
        std::size_t j = 0;
        while (j < P && ++pick[j] == holds[j].size()) pick[j++] = 0;
        if (j == P) break;
      }
      for (std::size_t j = 0; j < P; ++j) {
        richness[j] += present[j] / combinations;
        privateRichness[j] += alone[j] / combinations;
      }
    }
    for (std::size_t j = 0; j < P; ++j) {
      EXPECT_NEAR(double(richness[j]), double(result->richness[g - 2][j]), 1e-13) << "g " << g << " P" << j + 1;
      EXPECT_NEAR(double(privateRichness[j]), double(result->privateRichness[g - 2][j]), 1e-13) << "g " << g;
    }
  }
}

TEST(BandRarity, RarefiedDWRedoneByHand) {
  const Sample s = RandomSample({7, 4, 5}, 30, 0.0, 25);
  RandomGenerator random, byHand;
  random.Seed(9), byHand.Seed(9);
  const auto result = ComputeBandRarity(s.data, s.populations, 1, random);
  ASSERT_TRUE(result.ok());
  ASSERT_EQ(result->subsampleSize, 4u);
  std::vector<std::vector<std::uint32_t>> samples;
  for (const auto& population : s.populations) {
    std::vector<std::uint32_t> order = population.individuals;
    ShuffleOrder(order.data(), order.size(), byHand);
    samples.emplace_back(order.begin(), order.begin() + 4);
  }
  EXPECT_EQ(random.State(), byHand.State());
  for (std::size_t j = 0; j < samples.size(); ++j) {
    Real total = 0;
    for (std::size_t l = 0; l < s.data.locusCount; ++l) {
      int here = 0, all = 0;
      for (std::size_t k = 0; k < samples.size(); ++k) {
        for (std::uint32_t i : samples[k]) {
          const bool band = s.data.At(i, l) == Presence;
          all += band;
          here += band && k == j;
        }
      }
      if (all > 0) total += Real(here) / all;
    }
    EXPECT_NEAR(double(total), double(result->populations[j].rarefiedMean), 1e-14);
    EXPECT_TRUE(std::isnan(result->populations[j].rarefiedSD));
  }
}

}  // namespace
}  // namespace vorn
