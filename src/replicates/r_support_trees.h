// The trees R-support evaluates at one r: TR Average-similarity UPGMA trees with r draws per
// entry, built exactly as Multiple Avg. trees builds them from the Minimum and Maximum matrices
// computed once per command, and their majority-rule consensus at the R-support threshold with
// each group's percentage. The trees name their tips by position ("1" for the first
// individual), so that any label, repeated or holding characters of the tree text, gives the
// same clusters.
#pragma once

#include <cstdint>
#include <functional>

#include "core/label_table.h"
#include "core/workspace.h"
#include "replicates/replicate_trees.h"
#include "trees/r_support.h"

namespace vorn {

// Told before each tree (done trees of r complete); false stops the analysis.
using RSupportProgress = std::function<bool(std::uint32_t r, std::int32_t done)>;

// Refuses what would leave R-support without trees: TR below 1, fewer than 2 individuals, a
// coefficient or transformation outside the settings. JC is not asked for: R-support draws r.
Status CheckRSupportRun(const Workspace& ws);

class RSupportTrees {
 public:
  RSupportTrees(Workspace& ws, const AverageBounds& bounds, std::uint8_t consensusThreshold,
                RSupportProgress progress);

  // BuildAvgTrees(r) and the private consensus of its trees.
  REvaluation operator()(std::uint32_t r);

 private:
  Workspace& ws_;
  const AverageBounds& bounds_;
  const std::uint8_t threshold_;
  const RSupportProgress progress_;
  LabelTable positions_;
};

}  // namespace vorn
