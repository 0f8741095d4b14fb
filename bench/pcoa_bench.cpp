// Principal coordinates of Standard Jaccard distance matrices of N = 200 ... 2000 individuals by
// 500 loci (10% missing): centring and the Jacobi rotations, each run once per repetition; and
// the LAPACK solvers for N = 1000 ... 5000 (BM_PrincipalCoordinatesFast/N/solver: 1 divide and
// conquer, 2 relatively robust representations). Their
// peer is numpy's eigh of the centred matrix and scikit-bio's pcoa (bench/numpy_pcoa.py); run
// both with bench/run_pcoa_bench.sh.
#include <benchmark/benchmark.h>

#include <random>

#include "similarity/distance_transformation.h"
#include "similarity/similarity_matrix.h"
#include "ordination/principal_coordinates.h"

namespace {

vorn::DistanceMatrix JaccardDistances(std::size_t individuals) {
  constexpr std::size_t kLoci = 500;
  std::mt19937 random(7);
  std::uniform_real_distribution<double> uniform(0, 1);
  vorn::DataMatrix data;
  data.individualCount = static_cast<std::uint16_t>(individuals);
  data.locusCount = static_cast<std::uint16_t>(kLoci);
  data.cells.resize(individuals * kLoci);
  for (auto& cell : data.cells) {
    cell = uniform(random) < 0.1 ? vorn::Missing : uniform(random) < 0.5 ? vorn::Presence : vorn::Absence;
  }
  const vorn::SimilaritySettings settings;  // Jaccard, d = 1 - s
  auto fill = vorn::BuildSimilarityMatrix(data, vorn::SimilarityMode::Standard, settings);
  return vorn::TransformMatrix(fill->matrix, settings.transformation);
}

void BM_PrincipalCoordinates(benchmark::State& state) {
  const vorn::DistanceMatrix distances = JaccardDistances(static_cast<std::size_t>(state.range(0)));
  std::size_t rotations = 0;
  for (auto _ : state) {
    vorn::TDistCluster pcoa(distances);
    if (!pcoa.Compute().ok()) state.SkipWithError("PCoA failed");
    rotations += pcoa.Rotations();
  }
  state.counters["rotations"] = static_cast<double>(rotations) / static_cast<double>(state.iterations());
  state.counters["rotations/s"] = benchmark::Counter(static_cast<double>(rotations), benchmark::Counter::kIsRate);
}

void BM_PrincipalCoordinatesFast(benchmark::State& state) {
  const vorn::DistanceMatrix distances = JaccardDistances(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) {
    vorn::TDistCluster pcoa(distances, static_cast<vorn::PcoaSolver>(state.range(1)));
    if (!pcoa.Compute().ok()) state.SkipWithError("PCoA failed");
    state.counters["axes"] = static_cast<double>(pcoa.PositiveCount());
  }
}

}  // namespace

BENCHMARK(BM_PrincipalCoordinatesFast)->ArgsProduct({{1000, 2000, 5000}, {1, 2}})->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PrincipalCoordinates)->Arg(200)->Arg(500)->Arg(1000)->Arg(2000)->Iterations(1)->Unit(benchmark::kMillisecond);
