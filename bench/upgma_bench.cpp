// UPGMA trees of N = 500, 2000 and 5000 OTUs: random distances without ties (the case SciPy's
// weighted linkage is timed on by scipy_weighted_linkage.py), and Jaccard distances of random
// band profiles over 100 loci, which tie often. The copy of the input triangle is not timed.
#include <benchmark/benchmark.h>

#include <bit>
#include <random>
#include <vector>

#include "trees/newick_writer.h"
#include "trees/upgma.h"

namespace {

using vorn::DistanceMatrix;
using vorn::Real;

const DistanceMatrix& RandomDistances(std::size_t n) {
  static std::vector<std::pair<std::size_t, DistanceMatrix>> made;
  for (const auto& [size, matrix] : made) {
    if (size == n) return matrix;
  }
  std::mt19937_64 random(n);
  std::uniform_real_distribution<double> uniform(0.0, 1.0);
  DistanceMatrix d(n);
  for (std::size_t i = 0; i < n; ++i) {
    for (std::size_t j = 0; j < i; ++j) d(i, j) = static_cast<Real>(uniform(random));
  }
  return made.emplace_back(n, std::move(d)).second;
}

// 1 - Jaccard similarity of random profiles over 100 loci (two 64-bit words), bands at 40 %.
const DistanceMatrix& JaccardDistances(std::size_t n) {
  static std::vector<std::pair<std::size_t, DistanceMatrix>> made;
  for (const auto& [size, matrix] : made) {
    if (size == n) return matrix;
  }
  std::mt19937_64 random(n + 1);
  std::vector<std::uint64_t> bands(2 * n);
  for (std::size_t i = 0; i < n; ++i) {
    for (std::size_t l = 0; l < 100; ++l) {
      if (random() % 10 < 4) bands[2 * i + l / 64] |= std::uint64_t{1} << (l % 64);
    }
  }
  DistanceMatrix d(n);
  for (std::size_t i = 0; i < n; ++i) {
    for (std::size_t j = 0; j < i; ++j) {
      int shared = 0, either = 0;
      for (int w = 0; w < 2; ++w) {
        shared += std::popcount(bands[2 * i + w] & bands[2 * j + w]);
        either += std::popcount(bands[2 * i + w] | bands[2 * j + w]);
      }
      d(i, j) = 1 - static_cast<Real>(shared) / either;
    }
  }
  return made.emplace_back(n, std::move(d)).second;
}

void Build(benchmark::State& state, const DistanceMatrix& input) {
  for (auto _ : state) {
    state.PauseTiming();
    DistanceMatrix copy = input;
    state.ResumeTiming();
    auto tree = vorn::BuildUPGMA(std::move(copy), vorn::LabelTable());
    benchmark::DoNotOptimize(tree);
  }
}

void BM_UpgmaRandom(benchmark::State& state) { Build(state, RandomDistances(static_cast<std::size_t>(state.range(0)))); }
void BM_UpgmaJaccard(benchmark::State& state) { Build(state, JaccardDistances(static_cast<std::size_t>(state.range(0)))); }

void BM_NewickText(benchmark::State& state) {
  const auto tree = vorn::BuildUPGMA(RandomDistances(static_cast<std::size_t>(state.range(0))), vorn::LabelTable());
  for (auto _ : state) benchmark::DoNotOptimize(vorn::TreeToNewick(tree.value(), "StdJaccard"));
}

BENCHMARK(BM_UpgmaRandom)->Arg(500)->Arg(2000)->Arg(5000)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly();
BENCHMARK(BM_UpgmaJaccard)->Arg(500)->Arg(2000)->Arg(5000)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly();
BENCHMARK(BM_NewickText)->Arg(5000)->Unit(benchmark::kMillisecond);

}  // namespace
