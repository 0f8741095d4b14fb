// Population structure over a range of K: R fits per K from random starts, their labels aligned,
// Evanno's dK and v-fold cross-validation for the choice of K.
//
// Draws come from the program's generator in one fixed order, whatever the number of cores:
// for each K from the smallest, for each run, the starting Q (n x K reals, each row -ln u
// scaled to sum 1: a flat Dirichlet draw) and then R (K x loci reals, u spread over [0.1, 0.9]);
// after every start the fold of each scored cell, individual by individual, NextBelow(v).
//
// Within a K every run is relabelled to best match the run of the highest log-likelihood; across
// K the clusters of each K are relabelled to follow those of the K below where they match best
// (the mean aligned Q of K - 1, with an empty cluster added, as reference), so cluster c keeps
// its colour from K to K. Cross-validation: for each fold the fit starts from the best run with
// the fold's scores masked, and each masked score is predicted by the fitted model; the error is
// the mean deviance -2 ln P(score) over the masked scores, each predicted P kept within
// [kPredictionBound, 1 - kPredictionBound].
#pragma once

#include <cstddef>
#include <optional>
#include <vector>

#include "clustering/admixture_fit.h"
#include "clustering/evanno_delta.h"
#include "core/progress.h"
#include "core/random_generator.h"
#include "core/result.h"

namespace vorn {

inline constexpr double kPredictionBound = 0.01;

struct StructureSettings {
  std::size_t minClusters = 1;
  std::size_t maxClusters = 6;
  std::size_t runs = 10;
  std::size_t folds = 5;  // 0: no cross-validation
  FitSettings fit;
};

struct ClusterSolutions {
  std::size_t clusters = 0;
  std::vector<AdmixtureFit> runs;  // in run order, labels aligned
  std::size_t best = 0;            // the run of the highest log-likelihood (the first on a tie)
  std::vector<double> meanQ;       // the runs' aligned Q averaged, n x K
  double meanGPrime = 1;           // over every pair of runs; 1 with one run
  std::size_t runsAtBest = 0;      // runs within the tolerance of the best log-likelihood
  double validationError = 0;      // mean deviance of the masked scores (folds > 0)
};

struct StructureResult {
  std::vector<ClusterSolutions> perK;  // K = minClusters .. maxClusters
  std::vector<EvannoRow> evanno;       // one row per K
  std::optional<std::size_t> deltaChoice;       // index into perK
  std::optional<std::size_t> validationChoice;  // index into perK; nothing without folds
  std::size_t maskedScores = 0;                 // scored cells in all folds together
};

// A message on settings the data cannot take: a smallest K of 0 or above the largest, a largest
// K above the individuals, no runs, one fold, a tolerance that is not positive.
Status CheckStructureSettings(const ScoreTable& table, const StructureSettings& settings);

// Fails as CheckStructureSettings does. progress counts fits: R + v per K;
// when it asks to stop, the analysis fails without message.
Result<StructureResult> AnalyseStructure(const ScoreTable& table, const StructureSettings& settings,
                                         RandomGenerator& random, const StepProgress& progress = {});

// Fits a K-run could take: how many steps progress is told.
inline std::size_t StructureFitCount(const StructureSettings& settings) {
  return (settings.maxClusters - settings.minClusters + 1) * (settings.runs + settings.folds);
}

}  // namespace vorn
