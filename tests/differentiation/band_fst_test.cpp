// F_ST from band frequencies: every estimator against the manual's formulas written anew with
// numpy (band_fst_peer.py) on random populations with missing scores, the permutation p against
// exact enumeration of a tiny case, the same p on one and two cores, and the refusals.
#include "differentiation/band_fst.h"

#include <gtest/gtest.h>
#include <omp.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <map>
#include <random>
#include <sstream>

#include "differentiation/locus_columns.h"
#include "groups/group_model.h"
#include "support/temp_dir.h"

namespace vorn {
namespace {

struct Sample {
  DataMatrix data;
  std::vector<PopulationMembers> populations;
};

Sample RandomPopulations(const std::vector<std::size_t>& sizes, std::size_t loci, double missing, std::mt19937& engine) {
  std::uniform_real_distribution<double> uniform(0.0, 1.0);
  Sample s;
  std::size_t total = 0;
  for (std::size_t size : sizes) total += size;
  s.data.individualCount = static_cast<std::uint16_t>(total);
  s.data.locusCount = static_cast<std::uint16_t>(loci);
  s.data.cells.resize(s.data.CellCount());
  s.data.individualLabels = MakeNumberedLabels("i", total);
  s.data.locusLabels = MakeNumberedLabels("l", loci);
  std::vector<double> shared(loci);
  for (double& f : shared) f = uniform(engine);
  std::uint32_t i = 0;
  for (std::size_t p = 0; p < sizes.size(); ++p) {
    PopulationMembers population{p + 1, "AllData/P" + std::to_string(p + 1), {}};
    std::vector<double> frequency(loci);
    for (std::size_t l = 0; l < loci; ++l) frequency[l] = 0.6 * shared[l] + 0.4 * uniform(engine);
    for (std::size_t k = 0; k < sizes[p]; ++k, ++i) {
      for (std::size_t l = 0; l < loci; ++l) {
        s.data.cells[s.data.Position(i, l)] =
            uniform(engine) < missing ? Missing : uniform(engine) < frequency[l] ? Presence : Absence;
      }
      population.individuals.push_back(i);
    }
    s.populations.push_back(population);
  }
  return s;
}

std::multimap<std::string, std::vector<double>> RunPeer(const Sample& s, const std::string& method, double fis) {
  testing::TempDir dir;
  const std::string path = (dir.Path() / "populations.txt").string();
  std::ofstream out(path);
  for (std::size_t p = 0; p < s.populations.size(); ++p) {
    for (std::uint32_t i : s.populations[p].individuals) {
      out << p + 1;
      for (std::size_t l = 0; l < s.data.locusCount; ++l) out << ' ' << int(s.data.At(i, l));
      out << '\n';
    }
  }
  out.close();
  const std::string command = "/usr/bin/python3 " + std::string(VORN_TEST_DATA) + "/../differentiation/band_fst_peer.py " +
                              path + " " + method + " " + std::to_string(fis) + " 3";
  std::multimap<std::string, std::vector<double>> lines;
  FILE* pipe = popen(command.c_str(), "r");
  char buffer[4096];
  while (pipe && std::fgets(buffer, sizeof buffer, pipe)) {
    std::istringstream line(buffer);
    std::string word, number;
    line >> word;
    std::vector<double> numbers;
    while (line >> number) numbers.push_back(std::strtod(number.c_str(), nullptr));
    lines.emplace(word, numbers);
  }
  EXPECT_EQ(pipe ? pclose(pipe) : -1, 0) << command;
  return lines;
}

void ExpectClose(double expected, Real value, const std::string& what) {
  EXPECT_NEAR(expected, double(value), 1e-12 * std::max(1.0, std::fabs(expected))) << what;
}

TEST(BandFst, EveryEstimatorEqualsTheFormulasWrittenAnew) {
  if (std::system("/usr/bin/python3 -c 'import numpy' >/dev/null 2>&1") != 0) {
    GTEST_SKIP() << "numpy not installed (apt-get install python3-numpy); comparison skipped";
  }
  struct Case {
    const char* peer;
    NullAlleleSettings settings;
    double missing;
  };
  const std::vector<Case> cases = {
      {"sqrt", {NullAlleleMethod::SquareRoot, false, 0, 3}, 0.1},
      {"sqrt", {NullAlleleMethod::SquareRoot, false, 0.25L, 3}, 0.0},
      {"lm", {NullAlleleMethod::LynchMilligan, false, 0, 3}, 0.1},
      {"bayes", {NullAlleleMethod::Bayesian, false, 0, 3}, 0.1},
      {"uniform", {NullAlleleMethod::Bayesian, true, 0, 3}, 0.0},
  };
  std::mt19937 engine(1994);
  for (const Case& c : cases) {
    const Sample s = RandomPopulations({12, 20, 9, 15}, 70, c.missing, engine);
    RandomGenerator random;
    const auto result = ComputeBandFst(s.data, s.populations, c.settings, 0, random);
    ASSERT_TRUE(result.ok()) << result.error();
    const auto peer = RunPeer(s, c.peer, double(c.settings.inbreeding));
    const std::string what = std::string(c.peer) + " F_IS " + std::to_string(double(c.settings.inbreeding));
    auto pops = peer.equal_range("pop");
    for (const PopulationHj& row : result->populations) {
      ASSERT_NE(pops.first, pops.second) << what;
      const std::vector<double>& v = (pops.first++)->second;
      ExpectClose(v[1], row.hj.mean, what + " Hj " + row.name);
      ExpectClose(v[2], row.hj.standardError, what + " SE(Hj) " + row.name);
      ExpectClose(v[3], row.prior.a, what + " prior a " + row.name);
      ExpectClose(v[4], row.prior.b, what + " prior b " + row.name);
    }
    const std::vector<double>& all = peer.find("all")->second;
    ExpectClose(all[0], result->overall.hw, what + " Hw");
    ExpectClose(all[1], result->overall.hb, what + " Hb");
    ExpectClose(all[2], result->overall.ht, what + " Ht");
    ExpectClose(all[3], result->overall.fst, what + " F_ST");
    ExpectClose(all[4], result->jackknifeSE, what + " SE(F_ST)");
    EXPECT_EQ(all[5], double(result->overall.loci)) << what;
    auto pairs = peer.equal_range("pair");
    for (const PairFst& pair : result->pairs) {
      ASSERT_NE(pairs.first, pairs.second) << what;
      const std::vector<double>& v = (pairs.first++)->second;
      ExpectClose(v[2], pair.values.hw, what + " pair Hw");
      ExpectClose(v[3], pair.values.hb, what + " pair Hb");
      ExpectClose(v[4], pair.values.fst, what + " pair F_ST");
    }
  }
}

// Two populations of three: all 20 ways to choose the first population's members are equally
// likely under permutation, so the exact p is the share of them with F_ST at least the observed.
TEST(BandFst, PermutationPAgreesWithExactEnumeration) {
  std::mt19937 engine(7);
  const Sample s = RandomPopulations({3, 3}, 12, 0.0, engine);
  const NullAlleleSettings settings{NullAlleleMethod::SquareRoot, false, 0, 3};
  RandomGenerator random;
  const auto observed = ComputeBandFst(s.data, s.populations, settings, 0, random);
  ASSERT_TRUE(observed.ok());
  int atLeast = 0, splits = 0;
  for (std::uint32_t mask = 0; mask < 64; ++mask) {
    if (std::popcount(mask) != 3) continue;
    std::vector<PopulationMembers> split = {{1, "A", {}}, {2, "B", {}}};
    for (std::uint32_t i = 0; i < 6; ++i) split[(mask >> i) & 1].individuals.push_back(i);
    const auto value = ComputeBandFst(s.data, split, settings, 0, random);
    ASSERT_TRUE(value.ok());
    ++splits;
    atLeast += value->overall.defined && value->overall.fst >= observed->overall.fst - 1e-10L;
  }
  ASSERT_EQ(splits, 20);
  const double exact = double(atLeast) / splits;
  random.Seed(11);
  const std::int32_t permutations = 19999;
  const auto tested = ComputeBandFst(s.data, s.populations, settings, permutations, random);
  ASSERT_TRUE(tested.ok());
  const double pHat = double(tested->p) * (permutations + 1) / permutations;  // (count + 1) / (R + 1)
  EXPECT_NEAR(pHat, exact, 4 * std::sqrt(exact * (1 - exact) / permutations) + 1.0 / permutations) << atLeast;
}

TEST(BandFst, SameOnOneAndTwoCores) {
  std::mt19937 engine(3);
  const Sample s = RandomPopulations({40, 40, 40}, 300, 0.05, engine);
  const NullAlleleSettings settings{NullAlleleMethod::Bayesian, false, 0, 3};
  std::vector<Real> p;
  std::vector<std::uint32_t> states;
  for (int threads : {1, 2}) {
    omp_set_num_threads(threads);
    RandomGenerator random;
    random.Seed(5);
    const auto result = ComputeBandFst(s.data, s.populations, settings, 499, random);
    ASSERT_TRUE(result.ok());
    p.push_back(result->p);
    for (const PairFst& pair : result->pairs) p.push_back(pair.p);
    states.push_back(random.State());
  }
  EXPECT_EQ(states[0], states[1]);
  for (std::size_t k = 0; k < p.size() / 2; ++k) EXPECT_EQ(p[k], p[k + p.size() / 2]) << k;
}

// Both bodies of the locus counter against a count cell by cell, at word-boundary sizes, with
// and without missing scores; the places are dealt to three populations at random.
TEST(BandFst, LocusCounterBodiesCountEveryPopulation) {
  std::mt19937 engine(64);
  for (std::size_t places : {3u, 63u, 64u, 65u, 129u}) {
    for (double missing : {0.0, 0.2}) {
      const Sample s = RandomPopulations({places}, 7, missing, engine);
      const LocusColumns columns(s.data, s.populations[0].individuals);
      const std::size_t P = 3, words = columns.Words();
      std::vector<std::size_t> population(places);
      std::vector<std::uint64_t> masks(P * words, 0);
      for (std::size_t k = 0; k < places; ++k) {
        population[k] = engine() % P;
        masks[population[k] * words + k / 64] |= std::uint64_t{1} << (k % 64);
      }
      std::vector<std::uint32_t> present(7 * P, 0), scored(7 * P, 0);
      for (std::size_t l = 0; l < 7; ++l) {
        for (std::size_t k = 0; k < places; ++k) {
          const Cell cell = s.data.At(static_cast<std::uint32_t>(k), l);
          present[l * P + population[k]] += cell == Presence;
          scored[l * P + population[k]] += cell == Presence || cell == Absence;
        }
      }
      for (LocusCounter counter : {PlainLocusCounter(), PopcntLocusCounter()}) {
        if (!counter) continue;
        std::vector<std::uint32_t> counted(7 * P, 99), counted2(7 * P, 99);
        counter(columns, masks.data(), P, counted.data(), counted2.data());
        EXPECT_EQ(counted, present) << places << " " << missing;
        EXPECT_EQ(counted2, scored) << places << " " << missing;
      }
    }
  }
}

TEST(BandFst, RefusesTooFewPopulationsAndLeavesOutAPopulationOfOne) {
  std::mt19937 engine(5);
  Sample s = RandomPopulations({1, 6, 5}, 20, 0.0, engine);
  RandomGenerator random;
  const NullAlleleSettings settings;
  const auto result = ComputeBandFst(s.data, s.populations, settings, 9, random);
  ASSERT_TRUE(result.ok());
  EXPECT_FALSE(result->populations[0].used);
  EXPECT_TRUE(std::isnan(result->populations[0].hj.mean));
  EXPECT_EQ(result->pairs.size(), 1u);
  s.populations.pop_back();
  const auto refused = ComputeBandFst(s.data, s.populations, settings, 9, random);
  ASSERT_FALSE(refused.ok());
  EXPECT_EQ(refused.error(),
            "F_ST needs at least two populations of two or more individuals; 1 of the 2 populations have them.");
}

}  // namespace
}  // namespace vorn
