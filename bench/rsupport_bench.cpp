// R-support with the default settings (TR = 100 trees per r, r from 1 to 10000, precision 1
// digit, thresholds 100 %) on 50 individuals by 300 loci with 10% missing scores: the whole
// search, from the Minimum and Maximum matrices to the Rx-consensus. OMP_NUM_THREADS=1 or 2
// chooses the cores; the result is the same on both.
#include <benchmark/benchmark.h>

#include <random>

#include "core/workspace.h"
#include "replicates/r_support_trees.h"

namespace {

void Fill(vorn::Workspace& ws, std::size_t individuals, std::size_t loci) {
  vorn::DataMatrix& m = ws.data;
  m.individualCount = static_cast<std::uint16_t>(individuals);
  m.locusCount = static_cast<std::uint16_t>(loci);
  m.cells.resize(m.CellCount());
  std::mt19937 random(3);
  for (vorn::Cell& cell : m.cells) {
    const unsigned draw = random() % 20;
    cell = draw < 2 ? vorn::Cell{vorn::Missing} : vorn::Cell(draw % 2);
  }
  for (std::size_t i = 1; i <= individuals; ++i) m.individualLabels.Add("Ind" + std::to_string(i));
  ws.dataLoaded = true;
}

void BM_RSupportDefaults(benchmark::State& state) {
  vorn::Workspace ws;
  Fill(ws, 50, 300);
  const vorn::RSupportSettings settings;
  std::size_t evaluated = 0;
  for (auto _ : state) {
    ws.random.Seed(1);
    const auto bounds = vorn::BuildAverageBounds(ws);
    vorn::RSupportTrees trees(ws, *bounds, settings.consensusThreshold, [&](std::uint32_t, std::int32_t done) {
      if (done == 0) ++evaluated;
      return true;
    });
    const auto result = vorn::EstimateRSupport(settings, std::ref(trees), ws.data.individualLabels.All(),
                                               [](std::string_view) {});
    benchmark::DoNotOptimize(result.rxConsensus);
  }
  state.counters["r_values"] = static_cast<double>(evaluated) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_RSupportDefaults)->Unit(benchmark::kSecond)->UseRealTime()->Iterations(1);

}  // namespace
