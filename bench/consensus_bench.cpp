// Majority-rule consensus (70 %) of 100 and 1000 trees of 50 and 200 OTUs: reading the clusters
// of every tree text, counting them in the table, building the consensus text. The trees are
// UPGMA trees of one random matrix with noise, so they share many clusters and differ in many.
#include <benchmark/benchmark.h>

#include <random>
#include <string>
#include <vector>

#include "trees/cluster_table.h"
#include "trees/consensus_tree.h"
#include "trees/newick_writer.h"
#include "trees/upgma.h"

namespace {

std::vector<std::string> RelatedTrees(std::size_t otus, std::size_t count) {
  std::mt19937_64 random(otus * 7919 + count);
  std::uniform_real_distribution<double> uniform(0.0, 1.0);
  vorn::DistanceMatrix base(otus);
  for (std::size_t i = 0; i < otus; ++i) {
    for (std::size_t j = 0; j < i; ++j) base(i, j) = uniform(random);
  }
  std::vector<std::string> trees;
  for (std::size_t t = 0; t < count; ++t) {
    vorn::DistanceMatrix d = base;
    for (auto& entry : d.entries) entry += 0.02 * uniform(random);
    for (std::size_t i = 0; i < otus; ++i) d(i, i) = 0;
    trees.push_back(vorn::TreeToNewick(vorn::BuildUPGMA(std::move(d), vorn::LabelTable()).value(), "BSJaccard" + std::to_string(t + 1)));
  }
  return trees;
}

void BM_MajorityRuleConsensus(benchmark::State& state) {
  const auto trees = RelatedTrees(static_cast<std::size_t>(state.range(1)), static_cast<std::size_t>(state.range(0)));
  std::size_t clusters = 0;
  for (auto _ : state) {
    const vorn::ClusterCount counted = vorn::CountClusters(trees);
    vorn::TTrees builder;
    builder.threshold = 0.7;
    builder.showLabels = true;
    auto text = builder.BuildConsensusTree(counted.table.Clusters(), counted.names.All(), counted.treeCount);
    benchmark::DoNotOptimize(text);
    clusters = counted.table.Clusters().size();
  }
  state.counters["clusters"] = static_cast<double>(clusters);
}

BENCHMARK(BM_MajorityRuleConsensus)
    ->ArgNames({"trees", "otus"})
    ->Args({100, 50})->Args({100, 200})->Args({1000, 50})->Args({1000, 200})
    ->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly();

}  // namespace
