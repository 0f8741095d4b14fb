// libFuzzer target for the tree files the consensus commands read: the list of tree lines, the
// clusters counted over them, the strict and majority-rule consensus texts and the cluster
// report, and each line read as the pictures read it (nodes, the midpoint root and the layout). Whatever the input, each step must either fail with a message or give a result that
// keeps its invariants.
#include <cstdint>
#include <cstdlib>

#include "fuzz_file.h"
#include "pictures/tree_layout.h"
#include "trees/cluster_report.h"
#include "trees/cluster_table.h"
#include "trees/consensus_tree.h"
#include "trees/midpoint_root.h"
#include "trees/tree_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (!vorn::fuzz::WriteScratch(data, size)) return 0;
  const auto trees = vorn::ReadTreeList(vorn::fuzz::ScratchFile());
  if (!trees.ok()) {
    if (trees.error().empty()) std::abort();
    return 0;
  }
  if (trees->empty()) return 0;

  for (const auto& line : *trees) {
    const auto tree = vorn::ReadNewick(line);
    if (!tree.ok()) {
      if (tree.error().empty()) std::abort();
      continue;
    }
    // Rooted at its midpoint: the same tips, every parent before its children.
    if (const auto rooted = vorn::RootAtMidpoint(*tree); rooted.ok()) {
      if (rooted->Tips().size() != tree->Tips().size() || rooted->nodes.front().parent != -1) std::abort();
      for (std::size_t v = 1; v < rooted->nodes.size(); ++v) {
        if (rooted->nodes[v].parent < 0 || rooted->nodes[v].parent >= static_cast<int>(v)) std::abort();
      }
    } else if (rooted.error().empty()) {
      std::abort();
    }
    const auto laidOut = vorn::LayOutTree(*tree);
    if (!laidOut.ok()) {
      if (laidOut.error().empty()) std::abort();
      continue;
    }
    const vorn::TreeLayout& layout = *laidOut;
    const double rows = static_cast<double>(layout.tips.size());
    for (const auto& node : layout.nodes) {
      if (!(node.y >= 0 && node.y < rows) || node.x < layout.left || node.x > layout.right) std::abort();
    }
  }

  const vorn::ClusterCount counted = vorn::CountClusters(*trees);
  if (counted.treeCount != trees->size()) std::abort();
  const std::size_t otus = counted.names.All().size();
  for (const auto& cluster : counted.table.Clusters()) {
    if (cluster.count == 0 || cluster.count > counted.treeCount) std::abort();
  }
  for (double threshold : {1.0, 0.7, 0.5}) {
    vorn::TTrees builder;
    builder.threshold = threshold;
    builder.showLabels = threshold < 1.0;
    const auto tree = builder.BuildConsensusTree(counted.table.Clusters(), counted.names.All(), counted.treeCount);
    if (tree.ok() ? (tree->empty() || tree->back() != ';') : tree.error().empty()) std::abort();
  }
  vorn::ClusterCountMessages(counted);
  std::size_t reportLines = 0;
  vorn::WriteClusterReport("Clusters", counted.table.Clusters(), otus, counted.treeCount,
                           [&](std::string_view) { ++reportLines; });
  if (reportLines < counted.table.Clusters().size()) std::abort();
  vorn::OtuKeyLines(counted.names.All());
  return 0;
}
