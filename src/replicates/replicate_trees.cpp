#include "replicates/replicate_trees.h"

#include <algorithm>
#include <vector>

#include "replicates/bootstrap_matrix.h"
#include "replicates/replicate_pipeline.h"
#include "replicates/resample_loci.h"
#include "similarity/average_similarity.h"
#include "similarity/coefficient_names.h"
#include "similarity/similarity_matrix.h"
#include "trees/matrix_tree.h"
#include "trees/newick_writer.h"

namespace vorn {
namespace {

// The working storage of one replicate, from its preparation to its delivery.
struct Slot {
  std::vector<std::uint32_t> loci;  // bootstrap Std: the drawn loci
  DistanceMatrix similarity;        // Standard matrix, or the average's mean
  bool holdsDistances = false;      // similarity already turned into the tree's distances
  DistanceMatrix variance;          // average analyses, when the matrices are kept
  std::size_t undefinedNeiLiPairs = 0;
  UndefinedMarks marks;             // of the similarity matrix
  JoinNotes joinNotes;
  ReplicateTree tree;
};

// What every analysis shares: the settings of the run, the slots, the tree stage and the
// delivery to the writer.
class Run {
 public:
  Run(Workspace& ws, ReplicateAnalysis analysis, bool keepMatrices, const ReplicateWriter& writer, std::size_t batch)
      : Run(ws, analysis, ws.settings.replicates.JC, ws.data.individualLabels, ws.settings.treeMethod, keepMatrices,
            writer, batch) {}
  Run(Workspace& ws, ReplicateAnalysis analysis, std::int32_t drawCount, const LabelTable& labels, TreeMethod method,
      bool keepMatrices, const ReplicateWriter& writer, std::size_t batch)
      : ws_(ws), settings_(ws.settings.similarity), analysis_(analysis), drawCount_(drawCount), labels_(labels),
        method_(method), keep_(keepMatrices), writer_(writer), batch_(batch), slots_(SlotCount(batch)) {}

  // Runs count replicates; prepare fills a slot's similarity matrix in run order, or leaves it
  // to fill(slot), which may run on any thread.
  template <typename Prepare, typename Fill>
  ReplicateSummary Go(std::int32_t count, Prepare&& prepare, Fill&& fill) {
    ReplicateStages stages;
    stages.prepare = [&](std::size_t slot, std::int32_t) { prepare(slots_[slot]); };
    stages.build = [&](std::size_t slot, std::int32_t e) {
      fill(slots_[slot]);
      BuildTree(slots_[slot], e);
    };
    stages.deliver = [&](std::size_t slot, std::int32_t) { return Deliver(slots_[slot]); };
    summary_.delivered = RunReplicates(count, batch_, stages);
    return summary_;
  }

  const SimilaritySettings& Settings() const { return settings_; }
  std::int32_t DrawCount() const { return drawCount_; }
  bool Keep() const { return keep_; }

 private:
  // The tree of the slot's similarity matrix, as a Newick line with the replicate's label.
  void BuildTree(Slot& slot, std::int32_t e) {
    slot.tree = ReplicateTree{};
    slot.tree.number = e;
    slot.joinNotes = JoinNotes{};
    // Unless it is kept, the matrix becomes the tree's distances in place.
    auto tree = slot.holdsDistances
                    ? BuildDistanceTree(std::move(slot.similarity), slot.marks, labels_, method_, &slot.joinNotes)
                    : BuildMatrixTree(keep_ ? DistanceMatrix(slot.similarity) : std::move(slot.similarity),
                                      slot.marks, settings_.transformation, labels_, method_, &slot.joinNotes);
    if (!tree) {
      slot.tree.failure = tree.error();
      return;
    }
    slot.tree.newick =
        TreeToNewick(*tree, ReplicateTreeLabel(analysis_, settings_.coefficient, DrawCount(), e));
  }

  bool Deliver(Slot& slot) {
    summary_.undefinedNeiLiPairs += slot.undefinedNeiLiPairs;
    summary_.joinNotes += slot.joinNotes;
    if (slot.tree.newick.empty()) {
      if (summary_.withoutTree++ == 0) summary_.firstFailure = slot.tree.failure;
    }
    if (keep_) {
      slot.tree.similarity = &slot.similarity;
      if (analysis_ != ReplicateAnalysis::BootstrapStd) slot.tree.variance = &slot.variance;
    }
    return writer_(slot.tree);
  }

  Workspace& ws_;
  const SimilaritySettings settings_;
  const ReplicateAnalysis analysis_;
  const std::int32_t drawCount_;
  const LabelTable& labels_;
  const TreeMethod method_;
  const bool keep_;
  const ReplicateWriter& writer_;
  const std::size_t batch_;
  std::vector<Slot> slots_;
  ReplicateSummary summary_;
};

// The mean (and, when kept, the variance) of JC draws between two bounds, into the slot.
void Average(const Run& run, const DistanceMatrix& minimum, const DistanceMatrix& maximum, RandomGenerator& random,
             Slot& slot) {
  // The draw count was checked before the run.
  (void)AverageMatrix(minimum, maximum, run.Settings().coefficient, run.DrawCount(), random, slot.similarity,
                      run.Keep() ? &slot.variance : nullptr);
}

// The bound matrices of the scores (plain or weighted); the coefficient was checked before the run.
template <typename Scores>
AverageBounds BoundsOf(const Scores& scores, const SimilaritySettings& settings) {
  auto minimum = BuildSimilarityMatrix(scores, SimilarityMode::Minimum, settings.coefficient, settings.neiLiR);
  auto maximum = BuildSimilarityMatrix(scores, SimilarityMode::Maximum, settings.coefficient, settings.neiLiR);
  // A pair undefined under the Maximum similarity is undefined under the Minimum too.
  const std::size_t undefined = std::max(minimum->undefinedNeiLiPairs, maximum->undefinedNeiLiPairs);
  UndefinedMarks marks = UndefinedMarks::Union(minimum->marks, maximum->marks);
  return AverageBounds{std::move(minimum->matrix), std::move(maximum->matrix), undefined, std::move(marks)};
}

}  // namespace

Status CheckReplicateRun(const Workspace& ws, ReplicateAnalysis analysis) {
  const SimilaritySettings& settings = ws.settings.similarity;
  if (ws.data.individualCount < 2) {
    return Failure{"A tree needs at least 2 individuals, but the current data matrix holds " +
                   std::to_string(ws.data.individualCount) + "."};
  }
  if (!IsKnown(settings.coefficient)) return Failure{"VornCore: Unknown coeffient 1"};
  if (!IsKnown(settings.transformation)) return Failure{"DistTransform: Unknown option."};
  if (analysis != ReplicateAnalysis::BootstrapStd) return CheckDrawCount(ws.settings.replicates.JC);
  return Success();
}

Result<AverageBounds> BuildAverageBounds(const Workspace& ws) {
  if (!IsKnown(ws.settings.similarity.coefficient)) return Failure{"VornCore: Unknown coeffient 2"};
  return BoundsOf(PackedScores(ws.data), ws.settings.similarity);
}

ReplicateSummary RunBootstrapStdTrees(Workspace& ws, bool keepMatrices, const ReplicateWriter& writer) {
  // A replicate keeps its matrix until it is written only when it is saved; otherwise a slot
  // holds little more than the drawn loci and the tree's text, and batches of small trees can
  // be large. Large trees take long enough to meet after each, and Cancel acts sooner then.
  const std::size_t perCore = keepMatrices || ws.data.individualCount > 1000 ? 1 : 8;
  Run run(ws, ReplicateAnalysis::BootstrapStd, keepMatrices, writer, CoreBatch(perCore));
  const DataMatrix& data = ws.data;
  const auto prepare = [&](Slot& slot) { DrawLoci(data.locusCount, ws.random, slot.loci); };
  const auto fill = [&](Slot& slot) {
    // A matrix that is not written is filled with the tree's distances at once.
    slot.holdsDistances = !keepMatrices;
    SimilarityFill matrix = BootstrapStdMatrix(data, slot.loci, run.Settings(), !keepMatrices);
    slot.similarity = std::move(matrix.matrix);
    slot.undefinedNeiLiPairs = matrix.undefinedNeiLiPairs;
    slot.marks = std::move(matrix.marks);
  };
  return run.Go(ws.settings.replicates.BS, prepare, fill);
}

ReplicateSummary RunBootstrapAvgTrees(Workspace& ws, bool keepMatrices, const ReplicateWriter& writer) {
  // The draws of one replicate depend on the bounds of its sample, so each replicate is drawn
  // after the previous one; its tree is built while the next one is drawn.
  Run run(ws, ReplicateAnalysis::BootstrapAverage, keepMatrices, writer, 1);
  const DataMatrix& data = ws.data;
  std::vector<std::uint32_t> loci;
  const auto prepare = [&](Slot& slot) {
    DrawLoci(data.locusCount, ws.random, loci);
    const WeightedScores scores(data, loci);
    const AverageBounds bounds = BoundsOf(scores, run.Settings());
    slot.undefinedNeiLiPairs = bounds.undefinedNeiLiPairs;
    slot.marks = bounds.marks;
    Average(run, bounds.minimum, bounds.maximum, ws.random, slot);
  };
  return run.Go(ws.settings.replicates.BS, prepare, [](Slot&) {});
}

ReplicateSummary RunMultipleAvgTrees(Workspace& ws, const AverageBounds& bounds, bool keepMatrices,
                                     const ReplicateWriter& writer) {
  const AverageTreeRun trees{ws.settings.replicates.JC, ws.settings.replicates.TR, &ws.data.individualLabels,
                             ws.settings.treeMethod};
  return RunAverageTrees(ws, bounds, trees, keepMatrices, writer);
}

ReplicateSummary RunAverageTrees(Workspace& ws, const AverageBounds& bounds, const AverageTreeRun& trees,
                                 bool keepMatrices, const ReplicateWriter& writer) {
  Run run(ws, ReplicateAnalysis::MultipleAverage, trees.drawCount, *trees.labels, trees.method, keepMatrices, writer, 1);
  const auto prepare = [&](Slot& slot) {
    slot.marks = bounds.marks;
    Average(run, bounds.minimum, bounds.maximum, ws.random, slot);
  };
  return run.Go(trees.treeCount, prepare, [](Slot&) {});
}

}  // namespace vorn
