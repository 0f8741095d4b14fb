#include "clustering/structure_runs.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <string>
#include <thread>
#include <utility>

#include "clustering/run_alignment.h"

namespace vorn {

Status CheckStructureSettings(const ScoreTable& table, const StructureSettings& settings) {
  const std::string n = std::to_string(table.individuals);
  if (settings.minClusters < 1) return Failure{"The smallest K must be at least 1."};
  if (settings.minClusters > settings.maxClusters) {
    return Failure{"The smallest K (" + std::to_string(settings.minClusters) + ") is larger than the largest K (" +
                   std::to_string(settings.maxClusters) + ")."};
  }
  if (settings.maxClusters > table.individuals) {
    return Failure{"The largest K (" + std::to_string(settings.maxClusters) + ") is larger than the number of " +
                   "individuals with a score (" + n + ")."};
  }
  if (settings.runs < 1) return Failure{"The runs per K must be at least 1."};
  if (settings.folds == 1) return Failure{"Cross-validation needs at least 2 folds (0 for none)."};
  if (!(settings.fit.tolerance > 0)) return Failure{"The tolerance must be larger than 0."};
  return Success();
}

namespace {

std::uint64_t DrawsPerStart(const ScoreTable& table, std::size_t k) {
  return std::uint64_t{k} * (table.individuals + table.loci);
}

// The random start of one run, drawn by a generator standing where the run's draws begin.
AdmixtureParameters RandomStart(const ScoreTable& table, std::size_t k, RandomGenerator random) {
  AdmixtureParameters start;
  start.clusters = k;
  start.q.resize(table.individuals * k);
  for (std::size_t i = 0; i < table.individuals; ++i) {
    double* q = start.q.data() + i * k;
    double sum = 0;
    for (std::size_t c = 0; c < k; ++c) sum += q[c] = -std::log1p(-static_cast<double>(random.NextReal()));
    for (std::size_t c = 0; c < k; ++c) q[c] = sum > 0 ? q[c] / sum : 1.0 / double(k);
  }
  start.r.resize(table.loci * k);
  for (double& r : start.r) r = 0.1 + 0.8 * static_cast<double>(random.NextReal());
  return start;
}

void Relabel(AdmixtureParameters& parameters, const std::vector<std::size_t>& perm) {
  parameters.q = Relabelled(parameters.q, parameters.clusters, perm);
  parameters.r = Relabelled(parameters.r, parameters.clusters, perm);
}

// Within K: every run relabelled to match the best; its mean Q, G' and the runs at the optimum.
void AlignRuns(ClusterSolutions& solutions, double tolerance) {
  const std::size_t k = solutions.clusters;
  auto& runs = solutions.runs;
  for (std::size_t r = 1; r < runs.size(); ++r) {
    if (runs[r].logLikelihood > runs[solutions.best].logLikelihood) solutions.best = r;
  }
  const std::vector<double>& reference = runs[solutions.best].parameters.q;
  for (auto& run : runs) Relabel(run.parameters, BestRelabelling(reference, run.parameters.q, k));
  const double bestL = runs[solutions.best].logLikelihood;
  solutions.meanQ.assign(reference.size(), 0.0);
  for (const auto& run : runs) {
    solutions.runsAtBest += run.logLikelihood >= bestL - tolerance;
    for (std::size_t j = 0; j < reference.size(); ++j) solutions.meanQ[j] += run.parameters.q[j] / double(runs.size());
  }
  double similarity = 0;
  std::size_t pairs = 0;
  for (std::size_t a = 0; a < runs.size(); ++a) {
    for (std::size_t b = a + 1; b < runs.size(); ++b, ++pairs) {
      similarity += SimilarityGPrime(runs[a].parameters.q, runs[b].parameters.q, k);
    }
  }
  solutions.meanGPrime = pairs > 0 ? similarity / double(pairs) : 1;
}

// Across K: the clusters of solutions follow those of the K below (below.clusters + 1 = K).
void FollowBelow(ClusterSolutions& solutions, const ClusterSolutions& below) {
  const std::size_t k = solutions.clusters, kBelow = below.clusters;
  std::vector<double> reference(solutions.meanQ.size(), 0.0);
  for (std::size_t i = 0; i * k < reference.size(); ++i) {
    for (std::size_t c = 0; c < kBelow; ++c) reference[i * k + c] = below.meanQ[i * kBelow + c];
  }
  const std::vector<std::size_t> perm = BestRelabelling(reference, solutions.meanQ, k);
  solutions.meanQ = Relabelled(solutions.meanQ, k, perm);
  for (auto& run : solutions.runs) Relabel(run.parameters, perm);
}

struct Folds {
  std::vector<std::uint8_t> of;  // per cell of the table: its fold (unscored cells: none)
  std::size_t masked = 0;
};

Folds DrawFolds(const ScoreTable& table, std::size_t folds, RandomGenerator& random) {
  Folds result;
  result.of.assign(table.scores.size(), 0);
  for (std::size_t cell = 0; cell < table.scores.size(); ++cell) {
    if (table.scores[cell] == kUnscored) continue;
    result.of[cell] = static_cast<std::uint8_t>(random.NextBelow(static_cast<std::uint32_t>(folds)));
    ++result.masked;
  }
  return result;
}

ScoreTable Masked(const ScoreTable& table, const Folds& folds, std::size_t fold) {
  ScoreTable masked = table;
  for (std::size_t cell = 0; cell < masked.scores.size(); ++cell) {
    if (folds.of[cell] == fold) masked.scores[cell] = kUnscored;
  }
  return masked;
}

// Sum of -2 ln P(score) over the scored cells of table in fold, at the fitted parameters, each
// P within [kPredictionBound, 1 - kPredictionBound]: a frequency fitted at its bound from the
// others of a small cluster would otherwise let one masked score outweigh hundreds.
double Deviance(const ScoreTable& table, const Folds& folds, std::size_t fold, const AdmixtureParameters& fitted,
                BandModel model) {
  const std::size_t k = fitted.clusters;
  double deviance = 0;
  for (std::size_t i = 0; i < table.individuals; ++i) {
    for (std::size_t l = 0; l < table.loci; ++l) {
      const std::size_t cell = i * table.loci + l;
      if (table.scores[cell] == kUnscored || folds.of[cell] != fold) continue;
      double f = 0;
      for (std::size_t c = 0; c < k; ++c) f += fitted.q[i * k + c] * fitted.r[l * k + c];
      const double absent = std::clamp(AbsenceProbability(f, model), kPredictionBound, 1 - kPredictionBound);
      deviance -= 2 * std::log(table.scores[cell] == kBand ? 1 - absent : absent);
    }
  }
  return deviance;
}

}  // namespace

Result<StructureResult> AnalyseStructure(const ScoreTable& table, const StructureSettings& settings,
                                         RandomGenerator& random, const StepProgress& progress) {
  if (auto checked = CheckStructureSettings(table, settings); !checked) return Failure{checked.error()};
  // The fits of a K run side by side, one a thread; progress is told on the calling thread only.
  std::atomic<std::size_t> done = 0;
  std::atomic<bool> cancelled = false;
  const std::thread::id caller = std::this_thread::get_id();
  const std::function<bool()> keepGoing = [&] {
    if (progress && std::this_thread::get_id() == caller && !cancelled && !progress(done)) cancelled = true;
    return !cancelled;
  };

  RandomGenerator draw = random;
  std::vector<RandomGenerator> starts;
  for (std::size_t k = settings.minClusters; k <= settings.maxClusters; ++k) {
    for (std::size_t r = 0; r < settings.runs; ++r) {
      starts.push_back(draw);
      draw.Skip(DrawsPerStart(table, k));
    }
  }
  random = draw;
  const Folds folds = settings.folds > 0 ? DrawFolds(table, settings.folds, random) : Folds{};
  std::vector<ScoreTable> masked;
  for (std::size_t fold = 0; fold < settings.folds; ++fold) masked.push_back(Masked(table, folds, fold));

  StructureResult result;
  result.maskedScores = folds.masked;
  for (std::size_t k = settings.minClusters, first = 0; k <= settings.maxClusters; ++k, first += settings.runs) {
    ClusterSolutions solutions;
    solutions.clusters = k;
    solutions.runs.resize(settings.runs);
#pragma omp parallel for schedule(dynamic, 1) if (settings.runs > 1)
    for (std::size_t r = 0; r < settings.runs; ++r) {
      solutions.runs[r] = FitAdmixture(table, RandomStart(table, k, starts[first + r]), settings.fit, keepGoing);
      ++done;
    }
    // Asked again after each stage as well: fits that converge within a cycle never ask.
    if (!keepGoing()) return Failure{""};
    AlignRuns(solutions, settings.fit.tolerance);
    if (!result.perK.empty()) FollowBelow(solutions, result.perK.back());
    std::vector<double> deviances(settings.folds, 0.0);
#pragma omp parallel for schedule(dynamic, 1) if (settings.folds > 1)
    for (std::size_t fold = 0; fold < settings.folds; ++fold) {
      const AdmixtureFit fit =
          FitAdmixture(masked[fold], solutions.runs[solutions.best].parameters, settings.fit, keepGoing);
      deviances[fold] = Deviance(table, folds, fold, fit.parameters, settings.fit.model);
      ++done;
    }
    if (!keepGoing()) return Failure{""};
    double deviance = 0;
    for (double part : deviances) deviance += part;
    if (folds.masked > 0) solutions.validationError = deviance / double(folds.masked);
    result.perK.push_back(std::move(solutions));
  }

  std::vector<std::vector<double>> logLikelihoods;
  for (const auto& solutions : result.perK) {
    logLikelihoods.emplace_back();
    for (const auto& run : solutions.runs) logLikelihoods.back().push_back(run.logLikelihood);
  }
  result.evanno = EvannoTable(logLikelihoods, settings.fit.tolerance);
  result.deltaChoice = LargestDelta(result.evanno);
  if (settings.folds > 0) {
    std::size_t lowest = 0;
    for (std::size_t j = 1; j < result.perK.size(); ++j) {
      if (result.perK[j].validationError < result.perK[lowest].validationError) lowest = j;
    }
    result.validationChoice = lowest;
  }
  return result;
}

}  // namespace vorn
