// NeighborNet's two steps apart, on the Jaccard distances of random band profiles over 500 loci
// (bands at 50 %, as bench/run_network_bench.sh makes them): the agglomeration to the circular
// order, and the split weights of that order (the order itself not timed). The kernels' path is
// that of VORN_KERNEL_PATH (bench_main.cpp).
#include <benchmark/benchmark.h>

#include <bit>
#include <random>
#include <vector>

#include "core/undefined_pairs.h"
#include "networks/neighbor_net_order.h"
#include "networks/split_weights.h"

namespace {

using vorn::Real;
using vorn::StrictPairIndex;

// The strict lower triangle, at StrictPairIndex(i, j), i > j.
const std::vector<Real>& JaccardPairs(std::size_t n) {
  static std::vector<std::pair<std::size_t, std::vector<Real>>> made;
  for (const auto& [size, pairs] : made) {
    if (size == n) return pairs;
  }
  constexpr std::size_t kWords = 8;  // 500 loci
  std::mt19937_64 random(n);
  std::vector<std::uint64_t> bands(kWords * n);
  for (std::size_t i = 0; i < n; ++i) {
    for (std::size_t l = 0; l < 500; ++l) {
      if (random() & 1) bands[kWords * i + l / 64] |= std::uint64_t{1} << (l % 64);
    }
  }
  std::vector<Real> pairs(n * (n - 1) / 2);
  for (std::size_t i = 1; i < n; ++i) {
    for (std::size_t j = 0; j < i; ++j) {
      int shared = 0, either = 0;
      for (std::size_t w = 0; w < kWords; ++w) {
        shared += std::popcount(bands[kWords * i + w] & bands[kWords * j + w]);
        either += std::popcount(bands[kWords * i + w] | bands[kWords * j + w]);
      }
      pairs[StrictPairIndex(i, j)] = 1 - static_cast<Real>(shared) / either;
    }
  }
  return made.emplace_back(n, std::move(pairs)).second;
}

void BM_NeighborNetOrder(benchmark::State& state) {
  const std::size_t n = static_cast<std::size_t>(state.range(0));
  const std::vector<Real>& pairs = JaccardPairs(n);
  for (auto _ : state) benchmark::DoNotOptimize(vorn::NeighborNetOrder(n, pairs));
}
BENCHMARK(BM_NeighborNetOrder)->Arg(200)->Arg(500)->Unit(benchmark::kMillisecond);

void BM_SplitWeights(benchmark::State& state) {
  const std::size_t n = static_cast<std::size_t>(state.range(0));
  const std::vector<Real>& pairs = JaccardPairs(n);
  const std::vector<std::size_t> order = vorn::NeighborNetOrder(n, pairs).order;
  std::vector<Real> placed(pairs.size());
  for (std::size_t b = 1; b < n; ++b) {
    for (std::size_t a = 0; a < b; ++a) {
      const std::size_t p = order[a], q = order[b];
      placed[StrictPairIndex(b, a)] = pairs[p > q ? StrictPairIndex(p, q) : StrictPairIndex(q, p)];
    }
  }
  for (auto _ : state) benchmark::DoNotOptimize(vorn::FitSplitWeights(n, placed));
}
BENCHMARK(BM_SplitWeights)->Arg(200)->Arg(500)->Unit(benchmark::kMillisecond);

}  // namespace
