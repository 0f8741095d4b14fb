// Majority-rule consensus (70 %) of 100 and 1000 trees of 50 and 200 OTUs: reading the clusters
// of every tree text, counting them in the table, building the consensus text. The trees are
// UPGMA trees of one random matrix with noise, so they share many clusters and differ in many.
// Then the deepest trees: strict consensus of one caterpillar (each group adds one OTU to the
// group inside it) of 10,000 OTUs, and of two OTUs under a million redundant parentheses.
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

// (((T1,T2),T3),...,Tn);
std::string Caterpillar(std::size_t otus) {
  std::string text(otus - 1, '(');
  text += "T1";
  for (std::size_t i = 2; i <= otus; ++i) text += ",T" + std::to_string(i) + ")";
  return text + ";";
}

void StrictConsensusOf(benchmark::State& state, const std::vector<std::string>& trees) {
  for (auto _ : state) {
    const vorn::ClusterCount counted = vorn::CountClusters(trees);
    auto text = vorn::TTrees().BuildConsensusTree(counted.table.Clusters(), counted.names.All(), counted.treeCount);
    benchmark::DoNotOptimize(text);
  }
}

void BM_CaterpillarConsensus(benchmark::State& state) {
  StrictConsensusOf(state, {Caterpillar(static_cast<std::size_t>(state.range(0)))});
}
BENCHMARK(BM_CaterpillarConsensus)->ArgName("otus")->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_NestedParenthesesConsensus(benchmark::State& state) {
  const std::size_t depth = static_cast<std::size_t>(state.range(0));
  StrictConsensusOf(state, {std::string(depth, '(') + "A,B" + std::string(depth, ')') + ";"});
}
BENCHMARK(BM_NestedParenthesesConsensus)->ArgName("depth")->Arg(1000000)->Unit(benchmark::kMillisecond);

}  // namespace
