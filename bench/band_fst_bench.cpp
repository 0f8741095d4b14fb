// F_ST from band frequencies of 20 populations x 50 individuals x 1000 loci (5 % of the scores
// missing) with 999 permutations of the overall test and of each of the 190 pairs, with each
// estimator. bench/run_band_fst_bench.sh runs the numpy implementation of the same statistic
// (tests/differentiation/band_fst_peer.py) beside it.
#include <benchmark/benchmark.h>

#include <random>

#include "differentiation/band_fst.h"

namespace {

struct Sample {
  vorn::DataMatrix data;
  std::vector<vorn::PopulationMembers> populations;
};

const Sample& SpeedCase() {
  static const Sample sample = [] {
    Sample s;
    s.data.individualCount = 1000;
    s.data.locusCount = 1000;
    s.data.cells.resize(s.data.CellCount());
    s.data.individualLabels = vorn::MakeNumberedLabels("i", 1000);
    std::mt19937 engine(20);
    std::uniform_real_distribution<double> uniform(0.0, 1.0);
    for (std::uint32_t p = 0; p < 20; ++p) {
      vorn::PopulationMembers population{p + 1, "P" + std::to_string(p + 1), {}};
      std::vector<double> frequency(1000);
      for (double& f : frequency) f = uniform(engine);
      for (std::uint32_t k = 0; k < 50; ++k) {
        const std::uint32_t i = p * 50 + k;
        for (std::size_t l = 0; l < 1000; ++l) {
          s.data.cells[s.data.Position(i, l)] =
              uniform(engine) < 0.05 ? vorn::Missing : uniform(engine) < frequency[l] ? vorn::Presence : vorn::Absence;
        }
        population.individuals.push_back(i);
      }
      s.populations.push_back(population);
    }
    return s;
  }();
  return sample;
}

void BM_BandFst20x50x1000(benchmark::State& state) {
  const Sample& s = SpeedCase();
  vorn::NullAlleleSettings settings;
  settings.method = static_cast<vorn::NullAlleleMethod>(state.range(0));
  for (auto _ : state) {
    vorn::RandomGenerator random;
    random.Seed(1);
    const auto result = vorn::ComputeBandFst(s.data, s.populations, settings, 999, random);
    benchmark::DoNotOptimize(result.ok());
  }
}
BENCHMARK(BM_BandFst20x50x1000)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kSecond)->Iterations(1);

}  // namespace
