// The replicate tree analyses against a slow, obvious reference that builds one replicate
// after the other with the plain routines, on one and on two threads; the pipeline's order
// guarantees; and the names of trees and matrices.
#include "replicates/replicate_trees.h"

#include <gtest/gtest.h>
#include <omp.h>

#include <algorithm>
#include <memory>
#include <mutex>
#include <random>
#include <stdexcept>

#include "replicates/replicate_pipeline.h"
#include "replicates/resample_loci.h"
#include "similarity/average_similarity.h"
#include "similarity/distance_transformation.h"
#include "similarity/similarity_matrix.h"
#include "support/test_matrix.h"
#include "trees/matrix_tree.h"
#include "trees/newick_writer.h"
#include "trees/upgma.h"

namespace vorn {
namespace {

using testing::MatrixFromRows;
using testing::RandomMatrix;

// ---- Names ----

TEST(ReplicateNames, TreeLabelsAndTitlesAreWordForWord) {
  const auto jaccard = SimilarityCoefficient::Jaccard;
  EXPECT_EQ(ReplicateTreeLabel(ReplicateAnalysis::BootstrapStd, jaccard, 100, 7), "BSJaccard7");
  EXPECT_EQ(ReplicateTreeLabel(ReplicateAnalysis::BootstrapAverage, jaccard, 100, 3), "BSAvgJaccard100x3");
  EXPECT_EQ(ReplicateTreeLabel(ReplicateAnalysis::MultipleAverage, jaccard, 100, 1), "AvgJaccard100x1");
  // Longer labels are cut to 20 characters.
  EXPECT_EQ(ReplicateTreeLabel(ReplicateAnalysis::BootstrapAverage, SimilarityCoefficient::SqEuclidean, 100, 12),
            "BSAvgSqEuclidean100x");

  EXPECT_EQ(ReplicateMatrixTitle(ReplicateAnalysis::BootstrapStd, jaccard, 100, 7),
            "Std Jaccard from resampled data matrix replicate 7");
  EXPECT_EQ(ReplicateMatrixTitle(ReplicateAnalysis::BootstrapAverage, SimilarityCoefficient::Dice, 50, 3),
            "Avg Dice from resampled data replicate 3");
  EXPECT_EQ(ReplicateVarianceTitle(ReplicateAnalysis::BootstrapAverage, SimilarityCoefficient::Dice, 50, 3),
            "Variance on Dice from resampled data replicate 3");
  EXPECT_EQ(ReplicateMatrixTitle(ReplicateAnalysis::MultipleAverage, jaccard, 100, 1),
            "Average Expected Jaccard values (100x, run1)");
  EXPECT_EQ(ReplicateVarianceTitle(ReplicateAnalysis::MultipleAverage, jaccard, 100, 1),
            "Variance of Expected Jaccard values(100x, run1)");

  EXPECT_EQ(ReplicateStartLine(ReplicateAnalysis::BootstrapStd, jaccard), "Bootstrapping Std Jaccard Tree...");
  EXPECT_EQ(ReplicateStartLine(ReplicateAnalysis::BootstrapAverage, SimilarityCoefficient::SMC),
            "Bootstrapping Average SMC trees...");
  EXPECT_EQ(ReplicateStartLine(ReplicateAnalysis::MultipleAverage, SimilarityCoefficient::NeiLi),
            "Generating Multiple Average NeiLi trees...");
}

// ---- Pipeline ----

// Runs the pipeline on threads threads, recording the order of the stages.
struct PipelineTrace {
  std::vector<std::int32_t> prepared, delivered;
  std::vector<std::int32_t> built;
  std::mutex mutex;
};

std::int32_t Trace(std::int32_t count, std::size_t batch, int threads, PipelineTrace& trace,
                   std::int32_t stopAt = 0, std::int32_t throwAt = 0) {
  omp_set_num_threads(threads);
  std::vector<std::int32_t> slotOwner(SlotCount(batch), 0);
  ReplicateStages stages;
  stages.prepare = [&](std::size_t slot, std::int32_t e) {
    EXPECT_EQ(slotOwner[slot], 0) << "slot " << slot << " still held when replicate " << e << " is prepared";
    slotOwner[slot] = e;
    trace.prepared.push_back(e);
  };
  stages.build = [&](std::size_t slot, std::int32_t e) {
    if (e == throwAt) throw std::runtime_error("build failed");
    const std::lock_guard lock(trace.mutex);
    EXPECT_EQ(slotOwner[slot], e);
    trace.built.push_back(e);
  };
  stages.deliver = [&](std::size_t slot, std::int32_t e) {
    EXPECT_EQ(slotOwner[slot], e);
    slotOwner[slot] = 0;
    trace.delivered.push_back(e);
    return e != stopAt;
  };
  const std::int32_t delivered = RunReplicates(count, batch, stages);
  omp_set_num_threads(2);
  return delivered;
}

std::vector<std::int32_t> OneTo(std::int32_t count) {
  std::vector<std::int32_t> numbers;
  for (std::int32_t e = 1; e <= count; ++e) numbers.push_back(e);
  return numbers;
}

TEST(ReplicatePipeline, PreparesAndDeliversInRunOrderOnOneAndTwoThreads) {
  for (int threads : {1, 2}) {
    for (std::size_t batch : {1, 2, 3}) {
      for (std::int32_t count : {0, 1, 2, 7}) {
        PipelineTrace trace;
        EXPECT_EQ(Trace(count, batch, threads, trace), count);
        EXPECT_EQ(trace.prepared, OneTo(count)) << threads << " threads, batch " << batch;
        EXPECT_EQ(trace.delivered, OneTo(count));
        std::sort(trace.built.begin(), trace.built.end());
        EXPECT_EQ(trace.built, OneTo(count));
      }
    }
  }
}

TEST(ReplicatePipeline, AFalseDeliveryStopsTheRunAfterThatReplicate) {
  for (int threads : {1, 2}) {
    PipelineTrace trace;
    EXPECT_EQ(Trace(10, 2, threads, trace, 3), 2);
    EXPECT_EQ(trace.delivered, OneTo(3));
    // At most the batch after the stopped one was prepared ahead.
    EXPECT_LE(trace.prepared.size(), 6u);
  }
}

TEST(ReplicatePipeline, AFailingBuildEndsTheRunOnTheCallingThread) {
  for (int threads : {1, 2}) {
    PipelineTrace trace;
    EXPECT_THROW(Trace(10, 2, threads, trace, 0, 4), std::runtime_error);
    // Those before the failing one may have been delivered, in run order; none after it.
    EXPECT_LE(trace.delivered.size(), 3u);
    EXPECT_EQ(trace.delivered, OneTo(static_cast<std::int32_t>(trace.delivered.size())));
  }
}

// ---- Analyses against the reference ----

struct RunOutput {
  std::vector<std::string> lines;  // the tree lines, or "!" + the failure
  std::vector<DistanceMatrix> similarities, variances;
  ReplicateSummary summary;
  std::uint32_t stateAfter = 0;
};

// A workspace holds move-only parts, so each run makes its own from these.
struct RunSetup {
  DataMatrix data;
  SimilarityCoefficient coefficient;
  std::int32_t count;
  std::int32_t draws;
};

std::unique_ptr<Workspace> Make(const RunSetup& setup) {
  auto made = std::make_unique<Workspace>();
  Workspace& ws = *made;
  const SimilarityCoefficient coefficient = setup.coefficient;
  const std::int32_t count = setup.count, draws = setup.draws;
  ws.data = setup.data;
  ws.dataLoaded = true;
  ws.settings.similarity.coefficient = coefficient;
  ws.settings.similarity.transformation =
      static_cast<int>(coefficient) >= 3 ? DistanceTransformation::D : DistanceTransformation::OneMinusS;
  ws.settings.replicates.BS = count;
  ws.settings.replicates.TR = count;
  ws.settings.replicates.JC = draws;
  ws.random.Seed(20261208);
  return made;
}

RunOutput RunAnalysis(const RunSetup& setup, ReplicateAnalysis analysis, int threads, bool keep) {
  const auto made = Make(setup);
  Workspace& ws = *made;
  omp_set_num_threads(threads);
  RunOutput run;
  const ReplicateWriter writer = [&](const ReplicateTree& tree) {
    EXPECT_EQ(tree.number, static_cast<std::int32_t>(run.lines.size()) + 1);
    run.lines.push_back(tree.newick.empty() ? "!" + tree.failure : tree.newick);
    if (keep) {
      run.similarities.push_back(*tree.similarity);
      if (tree.variance) run.variances.push_back(*tree.variance);
    }
    return true;
  };
  switch (analysis) {
    case ReplicateAnalysis::BootstrapStd: run.summary = RunBootstrapStdTrees(ws, keep, writer); break;
    case ReplicateAnalysis::BootstrapAverage: run.summary = RunBootstrapAvgTrees(ws, keep, writer); break;
    case ReplicateAnalysis::MultipleAverage:
      run.summary = RunMultipleAvgTrees(ws, BuildAverageBounds(ws).value(), keep, writer);
      break;
  }
  run.stateAfter = ws.random.State();
  omp_set_num_threads(2);
  return run;
}

// One replicate after the other with the plain routines.
RunOutput Reference(const RunSetup& setup, ReplicateAnalysis analysis) {
  const auto made = Make(setup);
  Workspace& ws = *made;
  RunOutput run;
  const SimilaritySettings& settings = ws.settings.similarity;
  const std::int32_t draws = ws.settings.replicates.JC;
  // Pairs without a distance are refused by the one rule of every tree.
  const auto tree = [&](const DistanceMatrix& similarity, const UndefinedMarks& marks, std::int32_t e) {
    auto built = BuildMatrixTree(similarity, marks, settings.transformation, ws.data.individualLabels);
    run.lines.push_back(built ? TreeToNewick(*built, ReplicateTreeLabel(analysis, settings.coefficient, draws, e))
                              : "!" + built.error());
  };
  const auto average = [&](const DataMatrix& data, std::int32_t e) {
    const auto minimum = BuildSimilarityMatrix(data, SimilarityMode::Minimum, settings);
    const auto maximum = BuildSimilarityMatrix(data, SimilarityMode::Maximum, settings);
    DistanceMatrix mean, variance;
    ASSERT_TRUE(AverageMatrix(minimum->matrix, maximum->matrix, settings.coefficient, draws, ws.random, mean, &variance));
    run.similarities.push_back(mean);
    run.variances.push_back(variance);
    tree(mean, UndefinedMarks::Union(minimum->marks, maximum->marks), e);
  };
  const DataMatrix original = ws.data;
  for (std::int32_t e = 1; e <= ws.settings.replicates.BS; ++e) {
    DataMatrix sample = original;
    if (analysis != ReplicateAnalysis::MultipleAverage) {
      ResampleLoci(original.cells.data(), sample.cells.data(), original.individualCount, original.locusCount, ws.random);
    }
    if (analysis == ReplicateAnalysis::BootstrapStd) {
      auto fill = BuildSimilarityMatrix(sample, SimilarityMode::Standard, settings);
      run.similarities.push_back(fill->matrix);
      tree(run.similarities.back(), fill->marks, e);
    } else {
      average(sample, e);
    }
  }
  run.stateAfter = ws.random.State();
  return run;
}

// Compares entries bit for bit, not-a-number entries included.
bool SameEntries(const std::vector<DistanceMatrix>& a, const std::vector<DistanceMatrix>& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t k = 0; k < a.size(); ++k) {
    if (a[k].entries.size() != b[k].entries.size()) return false;
    for (std::size_t x = 0; x < a[k].entries.size(); ++x) {
      const Real p = a[k].entries[x], q = b[k].entries[x];
      if (!(p == q || (p != p && q != q))) return false;
    }
  }
  return true;
}

struct AnalysisCase {
  ReplicateAnalysis analysis;
  SimilarityCoefficient coefficient;
  std::size_t individuals, loci;
};

class ReplicateAnalyses : public ::testing::TestWithParam<AnalysisCase> {};

TEST_P(ReplicateAnalyses, GiveTheReferenceTreesMatricesAndGeneratorStateOnOneAndTwoThreads) {
  const AnalysisCase& c = GetParam();
  std::mt19937 engine(static_cast<unsigned>(c.individuals * 1000 + c.loci));
  // 37 replicates: more than one batch on two cores.
  const RunSetup ws{RandomMatrix(c.individuals, c.loci, 0.15, 0.45, engine), c.coefficient, 37, 20};
  const RunOutput expected = Reference(ws, c.analysis);
  for (int threads : {1, 2}) {
    for (bool keep : {false, true}) {
      SCOPED_TRACE(std::to_string(threads) + " threads, matrices " + (keep ? "kept" : "not kept"));
      const RunOutput actual = RunAnalysis(ws, c.analysis, threads, keep);
      EXPECT_EQ(actual.lines, expected.lines);
      EXPECT_EQ(actual.stateAfter, expected.stateAfter);
      EXPECT_EQ(actual.summary.delivered, 37);
      // Only the single locus of the Euclidean case, missing for some individuals, leaves pairs
      // with nothing to compare.
      EXPECT_EQ(actual.summary.withoutTree, c.loci == 1 ? 37 : 0);
      if (keep) {
        EXPECT_TRUE(SameEntries(actual.similarities, expected.similarities));
        if (c.analysis != ReplicateAnalysis::BootstrapStd) {
          EXPECT_TRUE(SameEntries(actual.variances, expected.variances));
        }
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReplicateAnalyses,
    ::testing::Values(AnalysisCase{ReplicateAnalysis::BootstrapStd, SimilarityCoefficient::Jaccard, 9, 65},
                      AnalysisCase{ReplicateAnalysis::BootstrapStd, SimilarityCoefficient::Euclidean, 12, 1},
                      AnalysisCase{ReplicateAnalysis::BootstrapStd, SimilarityCoefficient::Dice, 2, 129},
                      AnalysisCase{ReplicateAnalysis::BootstrapAverage, SimilarityCoefficient::Jaccard, 8, 64},
                      AnalysisCase{ReplicateAnalysis::BootstrapAverage, SimilarityCoefficient::SqEuclidean, 6, 63},
                      AnalysisCase{ReplicateAnalysis::MultipleAverage, SimilarityCoefficient::SMC, 10, 40},
                      AnalysisCase{ReplicateAnalysis::MultipleAverage, SimilarityCoefficient::Jaccard, 3, 5}));

TEST(ReplicateAnalysesEdges, MultipleAverageTreesOfCompleteDataAreAllTheSameAndDrawNothing) {
  const RunSetup ws{MatrixFromRows({"1100101", "1010011", "0111000", "1111110"}), SimilarityCoefficient::Jaccard, 4, 100};
  const RunOutput run = RunAnalysis(ws, ReplicateAnalysis::MultipleAverage, 2, true);
  ASSERT_EQ(run.lines.size(), 4u);
  for (std::size_t k = 1; k < 4; ++k) {
    // Only the run number at the end of the label differs.
    EXPECT_EQ(run.lines[k].substr(0, run.lines[k].find("AvgJaccard")), run.lines[0].substr(0, run.lines[0].find("AvgJaccard")));
    for (Real variance : run.variances[k].entries) EXPECT_EQ(variance, 0);
  }
  EXPECT_EQ(run.stateAfter, Make(ws)->random.State());
}

TEST(ReplicateAnalysesEdges, AReplicateWithoutATreeIsHandedOnWithItsReasonAndCounted) {
  // The two individuals share a scored locus only at the first locus; a sample without it leaves
  // their SMC undefined, and no tree can join them.
  const RunSetup ws{MatrixFromRows({"11?", "1?1"}), SimilarityCoefficient::SMC, 12, 1};
  const RunOutput run = RunAnalysis(ws, ReplicateAnalysis::BootstrapStd, 2, false);
  const RunOutput expected = Reference(ws, ReplicateAnalysis::BootstrapStd);
  EXPECT_EQ(run.lines, expected.lines);
  std::int32_t failed = 0;
  const std::string refusal = "The distance between i1 and i2 is undefined (no locus is scored in both); no UPGMA "
                              "tree was built.";
  for (const auto& line : run.lines) failed += line == "!" + refusal;
  EXPECT_GT(failed, 0);
  EXPECT_LT(failed, 12);
  EXPECT_EQ(run.summary.withoutTree, failed);
  EXPECT_EQ(run.summary.firstFailure, refusal);
}

TEST(ReplicateAnalysesEdges, AnIndividualWithoutBandsStillGetsEveryAverageTree) {
  // The fourth individual has no band and two missing scores: its drawn self-similarity lies
  // between 0 and 1, and the tree must not try to join it with itself.
  const RunSetup ws{MatrixFromRows({"110101", "111001", "011110", "0?0?00"}), SimilarityCoefficient::Jaccard, 3, 100};
  EXPECT_EQ(RunAnalysis(ws, ReplicateAnalysis::MultipleAverage, 2, false).summary.withoutTree, 0);
}

TEST(ReplicateAnalysesEdges, UndefinedNeiLiPairsAreCountedOverAllReplicates) {
  // No band shared anywhere: every pair of every replicate is undefined.
  const RunSetup ws{MatrixFromRows({"1000", "0100", "0010"}), SimilarityCoefficient::NeiLi, 5, 10};
  const RunOutput run = RunAnalysis(ws, ReplicateAnalysis::BootstrapStd, 2, false);
  EXPECT_EQ(run.summary.undefinedNeiLiPairs, 5u * 3u);
}

TEST(ReplicateAnalysesEdges, TheRunIsRefusedWithoutTwoIndividualsOrWithoutDraws) {
  const auto one = Make({MatrixFromRows({"101"}), SimilarityCoefficient::Jaccard, 5, 10});
  const auto refused = CheckReplicateRun(*one, ReplicateAnalysis::BootstrapStd);
  ASSERT_FALSE(refused);
  EXPECT_EQ(refused.error(), "A tree needs at least 2 individuals, but the current data matrix holds 1.");

  const auto noDraws = Make({MatrixFromRows({"101", "011"}), SimilarityCoefficient::Jaccard, 5, 0});
  EXPECT_TRUE(CheckReplicateRun(*noDraws, ReplicateAnalysis::BootstrapStd));
  EXPECT_EQ(CheckReplicateRun(*noDraws, ReplicateAnalysis::BootstrapAverage).error(), CheckDrawCount(0).error());
  EXPECT_EQ(CheckReplicateRun(*noDraws, ReplicateAnalysis::MultipleAverage).error(), CheckDrawCount(0).error());
}

}  // namespace
}  // namespace vorn
