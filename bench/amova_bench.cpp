// The AMOVA of 2000 individuals by 1000 loci in 10 populations of 200 in 2 regions, with the
// Euclidean coefficient (its square counts the differing bands): the whole analysis from the
// scores (pair distances, sums, components) and the permutation test with 999 permutations of
// each of the three statistics. bench/run_amova_bench.sh runs R's ade4 on the same shape.
// OMP_NUM_THREADS=1 or 2 chooses the cores.
#include <benchmark/benchmark.h>

#include <random>
#include <string>

#include "groups/group_model.h"
#include "amova/amova.h"
#include "amova/amova_permutation.h"

namespace {

constexpr std::size_t kIndividuals = 2000, kLoci = 1000, kPopulations = 10;

struct Data {
  vorn::DataMatrix matrix;
  vorn::GroupList groups;
};

// Each population has its own band frequencies, drawn around the region's.
Data Make() {
  Data d;
  vorn::DataMatrix& m = d.matrix;
  m.individualCount = kIndividuals;
  m.locusCount = kLoci;
  m.cells.resize(m.CellCount());
  m.individualLabels = vorn::MakeNumberedLabels("i", kIndividuals);
  m.locusLabels = vorn::MakeNumberedLabels("l", kLoci);
  std::mt19937 random(5);
  std::uniform_real_distribution<double> uniform(0, 1);
  const std::size_t size = kIndividuals / kPopulations;
  for (std::size_t l = 0; l < kLoci; ++l) {
    const double regional[2] = {uniform(random), uniform(random)};
    for (std::size_t p = 0; p < kPopulations; ++p) {
      const double frequency = 0.7 * regional[p / 5] + 0.3 * uniform(random);
      for (std::size_t i = p * size; i < (p + 1) * size; ++i) {
        m.cells[m.Position(i, l)] = uniform(random) < frequency ? vorn::Presence : vorn::Absence;
      }
    }
  }
  (void)vorn::BuildAllData(m, d.groups);
  for (int r = 0; r < 2; ++r) d.groups.push_back({"AllData/R" + std::to_string(r), {}});
  for (std::size_t p = 0; p < kPopulations; ++p) {
    vorn::GroupEntry population{"AllData/R" + std::to_string(p / 5) + "/P" + std::to_string(p), {}};
    for (std::size_t i = p * size; i < (p + 1) * size; ++i) population.members.push_back(m.individualLabels[i]);
    d.groups.push_back(population);
  }
  return d;
}

vorn::SimilaritySettings Euclidean() {
  vorn::SimilaritySettings settings;
  settings.coefficient = vorn::SimilarityCoefficient::Euclidean;
  settings.transformation = vorn::DistanceTransformation::D;
  return settings;
}

void BM_AmovaTwoLevels(benchmark::State& state) {
  const Data data = Make();
  vorn::RandomGenerator random;
  for (auto _ : state) {
    vorn::TAMOVA amova(kIndividuals);
    (void)amova.SetHierarchy(data.matrix, data.groups, 2);
    const auto distances = vorn::AmovaDistances(data.matrix, Euclidean(), 100, random);
    amova.Calculate(*distances);
    benchmark::DoNotOptimize(amova.PhiST);
  }
}
BENCHMARK(BM_AmovaTwoLevels)->Unit(benchmark::kMillisecond);

void BM_AmovaPermutationTest999(benchmark::State& state) {
  const Data data = Make();
  vorn::RandomGenerator random;
  vorn::TAMOVA amova(kIndividuals);
  (void)amova.SetHierarchy(data.matrix, data.groups, 2);
  const auto distances = vorn::AmovaDistances(data.matrix, Euclidean(), 100, random);
  amova.Calculate(*distances);
  for (auto _ : state) {
    const auto test = vorn::AmovaPermutationTest(amova, *distances, data.matrix.individualLabels, data.groups, 999, random);
    benchmark::DoNotOptimize(test->pPhiST);
  }
}
BENCHMARK(BM_AmovaPermutationTest999)->Unit(benchmark::kMillisecond);

}  // namespace
