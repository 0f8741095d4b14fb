// The matrix passes of the statistics and filters on a large matrix: 2000 individuals by 5000
// loci (10 million scores) with 10% missing. Each is one sweep over the cells.
#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "matrix/band_frequencies.h"
#include "matrix/monomorphic.h"
#include "matrix/removal_filters.h"
#include "matrix/replace_missing.h"
#include "diversity/shannon.h"

namespace {

const vorn::DataMatrix& LargeMatrix() {
  static const vorn::DataMatrix matrix = [] {
    vorn::DataMatrix m;
    m.individualCount = 2000;
    m.locusCount = 5000;
    m.cells.resize(m.CellCount());
    std::mt19937 random(7);
    for (vorn::Cell& cell : m.cells) {
      const unsigned draw = random() % 20;
      cell = draw < 2 ? vorn::Cell{vorn::Missing} : vorn::Cell(draw % 2);
    }
    m.individualLabels = vorn::MakeDefaultIndividualLabels(m.individualCount);
    m.locusLabels = vorn::MakeDefaultLocusLabels(m.locusCount);
    return m;
  }();
  return matrix;
}

void BM_RemoveLociWithMissingData(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(vorn::RemoveLociWithMissingData(LargeMatrix(), 0.1));
  state.SetItemsProcessed(state.iterations() * LargeMatrix().CellCount());
}
BENCHMARK(BM_RemoveLociWithMissingData)->Unit(benchmark::kMillisecond);

void BM_RemoveIndividualsWithMissingData(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(vorn::RemoveIndividualsWithMissingData(LargeMatrix(), 0.1));
  state.SetItemsProcessed(state.iterations() * LargeMatrix().CellCount());
}
BENCHMARK(BM_RemoveIndividualsWithMissingData)->Unit(benchmark::kMillisecond);

void BM_ReplaceMissing(benchmark::State& state) {
  std::vector<vorn::Cell> replaced(LargeMatrix().cells.size());
  vorn::RandomGenerator random;
  random.Seed(1);
  for (auto _ : state) {
    vorn::ReplaceMissing(LargeMatrix().cells, replaced, 0.5, random);
    benchmark::DoNotOptimize(replaced.data());
  }
  state.SetItemsProcessed(state.iterations() * LargeMatrix().CellCount());
}
BENCHMARK(BM_ReplaceMissing)->Unit(benchmark::kMillisecond);

void BM_ShannonOfTheMatrix(benchmark::State& state) {
  for (auto _ : state) {
    auto monomorphic = vorn::HasMonomorphicLoci(LargeMatrix());
    auto p = vorn::LocusBandFrequencies(LargeMatrix(), vorn::FrequencyBasis::RelativeToAllPresences);
    benchmark::DoNotOptimize(monomorphic);
    benchmark::DoNotOptimize(vorn::ShannonBowman(LargeMatrix().individualCount, *p));
  }
  state.SetItemsProcessed(state.iterations() * LargeMatrix().CellCount());
}
BENCHMARK(BM_ShannonOfTheMatrix)->Unit(benchmark::kMillisecond);

}  // namespace
