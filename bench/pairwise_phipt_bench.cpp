// Pairwise PhiPT of 20 populations of 50 individuals by 1000 loci with 999 permutations per pair
// (190 pairs), from the scores: the squared distances once, then each pair's AMOVA and test.
// bench/run_pairwise_phipt_bench.sh runs R's ade4 on the same shape in the same run.
// OMP_NUM_THREADS=1 or 2 chooses the cores.
#include <benchmark/benchmark.h>

#include <random>
#include <string>

#include "amova/pairwise_phipt.h"
#include "groups/group_model.h"

namespace {

constexpr std::size_t kPopulations = 20, kSize = 50, kLoci = 1000;

struct Data {
  vorn::DataMatrix matrix;
  vorn::GroupList groups;
  std::vector<vorn::PopulationMembers> populations;
};

Data Make() {
  Data d;
  vorn::DataMatrix& m = d.matrix;
  m.individualCount = kPopulations * kSize;
  m.locusCount = kLoci;
  m.cells.resize(m.CellCount());
  m.individualLabels = vorn::MakeNumberedLabels("i", m.individualCount);
  m.locusLabels = vorn::MakeNumberedLabels("l", kLoci);
  std::mt19937 random(5);
  std::uniform_real_distribution<double> uniform(0, 1);
  for (std::size_t l = 0; l < kLoci; ++l) {
    const double common = uniform(random);
    for (std::size_t p = 0; p < kPopulations; ++p) {
      const double frequency = 0.8 * common + 0.2 * uniform(random);
      for (std::size_t i = p * kSize; i < (p + 1) * kSize; ++i) {
        m.cells[m.Position(i, l)] = uniform(random) < frequency ? vorn::Presence : vorn::Absence;
      }
    }
  }
  (void)vorn::BuildAllData(m, d.groups);
  for (std::size_t p = 0; p < kPopulations; ++p) {
    vorn::PopulationMembers population{d.groups.size(), "AllData/P" + std::to_string(p), {}};
    vorn::GroupEntry entry{population.name, {}};
    for (std::uint32_t i = p * kSize; i < (p + 1) * kSize; ++i) {
      population.individuals.push_back(i);
      entry.members.push_back(m.individualLabels[i]);
    }
    d.groups.push_back(entry);
    d.populations.push_back(population);
  }
  return d;
}

void BM_PairwisePhiPT(benchmark::State& state) {
  const Data d = Make();
  vorn::SimilaritySettings euclidean;
  euclidean.coefficient = vorn::SimilarityCoefficient::Euclidean;
  euclidean.transformation = vorn::DistanceTransformation::D;
  vorn::RandomGenerator random;
  random.Seed(1);
  for (auto _ : state) {
    const auto distances = vorn::AmovaDistances(d.matrix, euclidean, 100, random);
    const auto result = vorn::ComputePairwisePhiPT(*distances, d.populations, d.matrix.individualLabels, d.groups,
                                                   kLoci, 999, random, [](std::size_t) { return true; });
    benchmark::DoNotOptimize(result.pairs.data());
  }
}
BENCHMARK(BM_PairwisePhiPT)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
