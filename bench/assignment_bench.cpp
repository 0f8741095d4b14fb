// The assignment test: 500 individuals of 5 populations over 1000 loci (10 % missing) with 1000
// simulated profiles per individual and population, and the DArT-sized 5000 x 20000 in 10
// populations without simulations. OMP_NUM_THREADS=1 or 2 chooses the cores.
#include <benchmark/benchmark.h>

#include <random>

#include "clustering/assignment_test.h"

namespace {

// Scores drawn from per-population band frequencies, individuals of a population consecutive.
vorn::DataMatrix PopulationMatrix(std::size_t individuals, std::size_t loci, std::size_t populations,
                                  std::vector<vorn::ReferencePopulation>& references) {
  std::mt19937 engine(17);
  std::uniform_real_distribution<double> uniform(0, 1);
  std::vector<double> frequency(populations * loci);
  for (double& f : frequency) f = 0.1 + 0.8 * uniform(engine);
  vorn::DataMatrix data;
  data.individualCount = static_cast<std::uint16_t>(individuals);
  data.locusCount = static_cast<std::uint16_t>(loci);
  data.cells.resize(data.CellCount());
  references.assign(populations, {});
  for (std::uint32_t i = 0; i < individuals; ++i) {
    const std::size_t p = i * populations / individuals;
    references[p].name = "P" + std::to_string(p + 1);
    references[p].individuals.push_back(i);
    for (std::size_t l = 0; l < loci; ++l) {
      const double u = uniform(engine);
      data.cells[data.Position(i, l)] = u < 0.1                                     ? vorn::Missing
                                        : uniform(engine) < frequency[p * loci + l] ? vorn::Presence
                                                                                    : vorn::Absence;
    }
  }
  return data;
}

void RunAssignment(benchmark::State& state, std::size_t individuals, std::size_t loci, std::size_t populations,
                   std::int32_t simulations) {
  std::vector<vorn::ReferencePopulation> references;
  const vorn::DataMatrix data = PopulationMatrix(individuals, loci, populations, references);
  vorn::RandomGenerator random;
  random.Seed(1);
  for (auto _ : state) {
    auto result = vorn::AssignmentTest(data, references, {}, simulations, random);
    benchmark::DoNotOptimize(result);
  }
}

void BM_AssignmentSimulated(benchmark::State& state) { RunAssignment(state, 500, 1000, 5, 1000); }
void BM_AssignmentDart(benchmark::State& state) { RunAssignment(state, 5000, 20000, 10, 0); }
BENCHMARK(BM_AssignmentSimulated)->Unit(benchmark::kSecond)->Iterations(1);
BENCHMARK(BM_AssignmentDart)->Unit(benchmark::kSecond)->Iterations(1);

}  // namespace
