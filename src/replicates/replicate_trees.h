// The replicate tree analyses: many UPGMA (or neighbor-joining) trees from one data matrix, handed one by one, in run
// order, to a writer.
//   Bootstrap Std. trees: per replicate the loci are resampled and the Standard matrix built.
//   Bootstrap Avg. trees: per replicate the loci are resampled, its Minimum and Maximum matrices
//                         built and averaged with JC draws per entry.
//   Multiple Avg. trees:  the Minimum and Maximum matrices of the unchanged data are built once;
//                         each run averages them anew.
// Random numbers are drawn exactly as one replicate after the other would draw them, whatever
// the number of cores, so a seed gives the same trees on any machine. The workspace's kept
// matrices, active matrix and data are left as they are; only its generator advances.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "core/distance_matrix.h"
#include "core/label_table.h"
#include "core/result.h"
#include "core/undefined_pairs.h"
#include "core/workspace.h"
#include "replicates/replicate_names.h"
#include "trees/neighbor_joining.h"

namespace vorn {

// One replicate as the writer receives it.
struct ReplicateTree {
  std::int32_t number = 0;      // 1 .. BS or TR
  std::string newick;           // the tree's line; empty when no tree could be built
  std::string failure;          // why not (UPGMA's message)
  // When the run keeps its matrices: the similarity matrix (Standard, or the average's mean)
  // and, for the average analyses, the variance.
  const DistanceMatrix* similarity = nullptr;
  const DistanceMatrix* variance = nullptr;
};

// Writes one replicate; false stops the run after it.
using ReplicateWriter = std::function<bool(const ReplicateTree&)>;

struct ReplicateSummary {
  std::int32_t delivered = 0;           // replicates handed to the writer
  std::int32_t withoutTree = 0;         // of these, the ones without a tree
  std::string firstFailure;             // the first one's reason
  std::size_t undefinedNeiLiPairs = 0;  // matrix entries set to -1, over all replicates
  JoinNotes joinNotes;                  // what neighbor-joining met, over all replicates
};

// The Minimum and Maximum matrices that Multiple Avg. trees average.
struct AverageBounds {
  DistanceMatrix minimum;
  DistanceMatrix maximum;
  std::size_t undefinedNeiLiPairs = 0;
  UndefinedMarks marks;  // under either bound, so in the average drawn between them
};

// Refuses what would leave the analysis without a tree: fewer than 2 individuals, a draw count
// JC below 1 for the average analyses, a coefficient or transformation outside the settings.
Status CheckReplicateRun(const Workspace& ws, ReplicateAnalysis analysis);

// The Minimum and Maximum matrices of the working data.
Result<AverageBounds> BuildAverageBounds(const Workspace& ws);

// The three analyses over the working data with the replicate and similarity settings;
// keepMatrices hands each replicate's matrices to the writer as well.
ReplicateSummary RunBootstrapStdTrees(Workspace& ws, bool keepMatrices, const ReplicateWriter& writer);
ReplicateSummary RunBootstrapAvgTrees(Workspace& ws, bool keepMatrices, const ReplicateWriter& writer);
ReplicateSummary RunMultipleAvgTrees(Workspace& ws, const AverageBounds& bounds, bool keepMatrices,
                                     const ReplicateWriter& writer);

// Multiple Avg. trees with a draw count, a tree count, tip labels and a tree method of the
// caller's (R-support draws r per entry, names the tips by position and builds UPGMA trees); the
// draw count must be at least 1.
struct AverageTreeRun {
  std::int32_t drawCount = 0;
  std::int32_t treeCount = 0;
  const LabelTable* labels = nullptr;
  TreeMethod method = TreeMethod::Upgma;
};
ReplicateSummary RunAverageTrees(Workspace& ws, const AverageBounds& bounds, const AverageTreeRun& trees,
                                 bool keepMatrices, const ReplicateWriter& writer);

}  // namespace vorn
