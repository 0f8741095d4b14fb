// The bootstrapped Shannon variance with SH = 10000 replicates: the t-tests of five groups of 50
// individuals by 300 loci (both tests), and the whole-matrix bootstrap of 2000 individuals by
// 1000 loci, each with 10% missing scores replaced at random. BM_PlainReplicate times one
// replicate built the plain way (resampled matrix, replacement, removal, frequencies), for the
// speed-up. OMP_NUM_THREADS=1 or 2 chooses the cores.
#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "replicates/resample_loci.h"
#include "matrix/band_frequencies.h"
#include "matrix/monomorphic.h"
#include "matrix/replace_missing.h"
#include "diversity/shannon.h"
#include "diversity/shannon_ttest.h"

namespace {

constexpr std::int32_t kReplicates = 10000;

vorn::DataMatrix Matrix(std::size_t individuals, std::size_t loci, unsigned seed) {
  vorn::DataMatrix m;
  m.individualCount = static_cast<std::uint16_t>(individuals);
  m.locusCount = static_cast<std::uint16_t>(loci);
  m.cells.resize(m.CellCount());
  std::mt19937 random(seed);
  for (vorn::Cell& cell : m.cells) {
    const unsigned draw = random() % 20;
    cell = draw < 2 ? vorn::Cell{vorn::Missing} : vorn::Cell(draw % 2);
  }
  return m;
}

const vorn::ShannonBootstrapOptions kOptions{kReplicates, true, 0.5, vorn::FrequencyBasis::RelativeToAllPresences};

void BM_TTestFiveGroups(benchmark::State& state) {
  std::vector<vorn::DataMatrix> groups;
  for (unsigned g = 0; g < 5; ++g) groups.push_back(Matrix(50, 300, g + 1));
  vorn::RandomGenerator random;
  random.Seed(1);
  const vorn::ShannonScaling scaling;
  for (auto _ : state) {
    std::vector<vorn::GroupShannon> bowman, bootstrap;
    for (const auto& group : groups) bowman.push_back(*vorn::GroupShannonBowman(group, kOptions, scaling, random));
    for (const auto& group : groups) bootstrap.push_back(*vorn::GroupShannonBootstrap(group, kOptions, scaling, random));
    for (std::size_t k = 1; k < groups.size(); ++k) {
      for (std::size_t j = 0; j < k; ++j) {
        benchmark::DoNotOptimize(vorn::ShannonPairTest(bowman[k], bowman[j]));
        benchmark::DoNotOptimize(vorn::ShannonPairTest(bootstrap[k], bootstrap[j]));
      }
    }
  }
}
BENCHMARK(BM_TTestFiveGroups)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_BootstrapLargeMatrix(benchmark::State& state) {
  const vorn::DataMatrix matrix = Matrix(2000, 1000, 7);
  vorn::RandomGenerator random;
  random.Seed(1);
  for (auto _ : state) benchmark::DoNotOptimize(vorn::BootstrapShannon(matrix, kOptions, vorn::ShannonScaling(), random));
}
BENCHMARK(BM_BootstrapLargeMatrix)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

void BM_PlainReplicate(benchmark::State& state) {
  const vorn::DataMatrix matrix = Matrix(state.range(0), state.range(1), 7);
  vorn::DataMatrix replicate = matrix;
  std::vector<vorn::Cell> replaced(matrix.cells.size());
  vorn::RandomGenerator random;
  random.Seed(1);
  for (auto _ : state) {
    vorn::ResampleLoci(matrix.cells.data(), replicate.cells.data(), matrix.individualCount, matrix.locusCount, random);
    vorn::ReplaceMissing(replicate.cells, replaced, 0.5, random);
    replicate.cells.swap(replaced);
    auto kept = vorn::RemoveMonomorphicLoci(replicate, vorn::MonomorphicKinds::Both);
    benchmark::DoNotOptimize(vorn::ShannonIndex(*vorn::LocusBandFrequencies(kept->matrix, kOptions.basis)));
  }
}
BENCHMARK(BM_PlainReplicate)->Args({50, 300})->Args({2000, 1000})->Unit(benchmark::kMicrosecond);

}  // namespace
