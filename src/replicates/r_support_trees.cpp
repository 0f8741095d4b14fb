#include "replicates/r_support_trees.h"

#include <string>
#include <vector>

#include "trees/cluster_table.h"
#include "trees/consensus_tree.h"
#include "trees/tree_text.h"

namespace vorn {
namespace {

// The individual a tip named by position stands for.
std::size_t IndividualOf(const std::string& name) { return std::stoul(name) - 1; }

// The consensus text without its "<...>" labels.
std::string WithoutLabels(const std::string& text) {
  std::string plain;
  bool inLabel = false;
  for (char c : text) {
    if (c == '<') inLabel = true;
    if (!inLabel) plain += c;
    if (c == '>') inLabel = false;
  }
  return plain;
}

// The groups of the private consensus of trees, with the members in data order; messages call
// the individuals by their labels when there is one for each.
REvaluation PrivateConsensus(std::uint32_t r, const std::vector<std::string>& trees, std::uint8_t threshold,
                             std::size_t individuals, const LabelTable& labels) {
  REvaluation evaluation;
  const ClusterCount counted = CountClusters(trees);
  if (const auto messages = ClusterCountMessages(counted); !messages.empty()) {
    for (const std::string& message : messages) evaluation.failure += (evaluation.failure.empty() ? "" : "\r\n") + message;
    return evaluation;
  }
  TTrees builder;
  builder.threshold = threshold / 100.0;
  builder.bracketLabels = true;
  builder.treeId = std::to_string(r);
  const auto& names = counted.names.All();
  if (labels.Count() == individuals) {
    for (const std::string& name : names) builder.shownNames.push_back(labels[IndividualOf(name)]);
  }
  auto built = builder.BuildConsensus(counted.table.Clusters(), names, counted.treeCount);
  if (!built) {
    evaluation.failure = built.error();
    return evaluation;
  }
  RConsensus consensus;
  const std::size_t words = (individuals + 63) / 64;
  for (std::size_t position : built->groups) {
    const Cluster& found = counted.table.Clusters()[position];
    Cluster group{std::vector<std::uint64_t>(words, 0), 0, r};
    for (std::size_t otu = 0; otu < names.size(); ++otu) {
      if (!found.Has(otu)) continue;
      const std::size_t individual = IndividualOf(names[otu]);
      group.members[individual / 64] |= std::uint64_t{1} << (individual % 64);
    }
    group.count = static_cast<std::uint32_t>(ClusterPercentage(found.count, counted.treeCount));
    consensus.groups.push_back(std::move(group));
  }
  // The root's label names the tree; its percentage is taken as 100.
  consensus.groups.back().count = 100;
  for (const std::string& name : ExtractOTUNames(WithoutLabels(built->text))) {
    consensus.textOrder.push_back(IndividualOf(name));
  }
  evaluation.consensus = std::move(consensus);
  return evaluation;
}

}  // namespace

Status CheckRSupportRun(const Workspace& ws) {
  if (ws.settings.replicates.TR < 1) {
    return Failure{"R-support builds TR trees at each r, but TR is " + std::to_string(ws.settings.replicates.TR) +
                   ".\r\nPlease set TR under Options > Replicate Analysis Settings."};
  }
  // The Standard tree needs what every tree needs and no draw count.
  return CheckReplicateRun(ws, ReplicateAnalysis::BootstrapStd);
}

RSupportTrees::RSupportTrees(Workspace& ws, const AverageBounds& bounds, std::uint8_t consensusThreshold,
                             RSupportProgress progress)
    : ws_(ws), bounds_(bounds), threshold_(consensusThreshold), progress_(std::move(progress)) {
  for (std::size_t i = 1; i <= ws.data.individualCount; ++i) positions_.Add(std::to_string(i));
}

REvaluation RSupportTrees::operator()(std::uint32_t r) {
  const std::int32_t treeCount = ws_.settings.replicates.TR;
  std::vector<std::string> trees;
  bool cancelled = !progress_(r, 0);
  const auto collect = [&](const ReplicateTree& tree) {
    if (!tree.newick.empty()) trees.push_back(tree.newick);
    cancelled = !progress_(r, tree.number);
    return !cancelled;
  };
  if (cancelled) return REvaluation{std::nullopt, {}, true};
  const AverageTreeRun run{static_cast<std::int32_t>(r), treeCount, &positions_};
  const ReplicateSummary summary = RunAverageTrees(ws_, bounds_, run, false, collect);
  if (summary.withoutTree > 0) {
    return REvaluation{std::nullopt,
                       "No tree could be built for " + std::to_string(summary.withoutTree) + " of " +
                           std::to_string(treeCount) + " trees at r= " + std::to_string(r) + " (" +
                           summary.firstFailure + ").",
                       false};
  }
  if (cancelled && summary.delivered < treeCount) return REvaluation{std::nullopt, {}, true};
  return PrivateConsensus(r, trees, threshold_, ws_.data.individualCount, ws_.data.individualLabels);
}

}  // namespace vorn
