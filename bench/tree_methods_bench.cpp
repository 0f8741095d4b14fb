// Neighbor-joining of 500 and 2000 random distances, and support on a tree of 500 tips from 1000
// replicate trees (UPGMA trees of one random matrix with noise, so they share many clusters and
// differ in many), reading every replicate's text included.
// The peers run in bench/run_tree_methods_bench.sh.
#include <benchmark/benchmark.h>

#include <random>
#include <string>
#include <vector>

#include "trees/neighbor_joining.h"
#include "trees/newick_writer.h"
#include "trees/tree_support.h"
#include "trees/upgma.h"

namespace {

vorn::DistanceMatrix RandomDistances(std::size_t otus, std::mt19937_64& random) {
  std::uniform_real_distribution<double> uniform(0.0, 1.0);
  vorn::DistanceMatrix d(otus);
  for (std::size_t i = 0; i < otus; ++i) {
    for (std::size_t j = 0; j < i; ++j) d(i, j) = uniform(random);
  }
  return d;
}

void BM_NeighborJoining(benchmark::State& state) {
  std::mt19937_64 random(1);
  const vorn::DistanceMatrix d = RandomDistances(static_cast<std::size_t>(state.range(0)), random);
  for (auto _ : state) benchmark::DoNotOptimize(vorn::BuildNeighborJoining(d, vorn::LabelTable()));
}
BENCHMARK(BM_NeighborJoining)->ArgNames({"otus"})->Arg(500)->Arg(2000)->Unit(benchmark::kMillisecond);

void BM_SupportOnTree(benchmark::State& state) {
  const auto otus = static_cast<std::size_t>(state.range(1));
  std::mt19937_64 random(otus);
  std::uniform_real_distribution<double> uniform(0.0, 1.0);
  const vorn::DistanceMatrix base = RandomDistances(otus, random);
  const auto tree = [&](vorn::DistanceMatrix d) { return vorn::TreeToNewick(*vorn::BuildUPGMA(std::move(d), vorn::LabelTable()), "t"); };
  const std::string reference = tree(base);
  std::vector<std::string> replicates;
  for (long t = 0; t < state.range(0); ++t) {
    vorn::DistanceMatrix d = base;
    for (auto& entry : d.entries) entry += 0.05 * uniform(random);
    for (std::size_t i = 0; i < otus; ++i) d(i, i) = 0;
    replicates.push_back(tree(std::move(d)));
  }
  for (auto _ : state) {
    auto support = vorn::CountSupport(*vorn::ReadNewick(reference), replicates, vorn::TreeComparison::Clusters, "r");
    benchmark::DoNotOptimize(support);
  }
}
BENCHMARK(BM_SupportOnTree)->ArgNames({"trees", "otus"})->Args({1000, 500})->Unit(benchmark::kMillisecond);

}  // namespace
