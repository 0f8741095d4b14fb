// Maximum likelihood of the admixture model for dominant bands. Individual i descends from the
// K clusters in proportions q_i1..q_iK (summing to 1); cluster k carries the no-band allele at
// locus l with frequency r_kl, so that f_il = sum_k q_ik r_kl and P(no band) = f_il^2 (diploid)
// or f_il (haploid). Missing scores add nothing.
//
// The fit is an EM algorithm over the cluster of origin and the allele of each gene copy,
// accelerated by SQUAREM (Varadhan & Roland 2008, scheme S3, with a step back to the plain EM
// whenever the extrapolation would lose likelihood). Q and R are kept within [kBound, 1 - kBound]
// after every step (each row of Q then scaled to sum 1). A fit has converged when one SQUAREM
// cycle gains less than the tolerance; its log-likelihood is evaluated at the parameters it
// returns.
//
// Each EM step splits the individuals into at most kBlocks fixed blocks whatever the number of
// threads, and sums the blocks' frequency counts in block order, so a fit gives the same bits on
// any number of cores.
#pragma once

#include <cstddef>
#include <functional>
#include <vector>

#include "clustering/band_likelihood.h"
#include "clustering/score_table.h"

namespace vorn {

inline constexpr double kBound = 1e-5;
inline constexpr std::size_t kBlocks = 16;

struct AdmixtureParameters {
  std::size_t clusters = 0;
  std::vector<double> q;  // individual i, cluster k at i * clusters + k
  std::vector<double> r;  // locus l, cluster k at l * clusters + k: the no-band allele's frequency
};

struct FitSettings {
  BandModel model = BandModel::DiploidDominant;
  double tolerance = 1e-4;      // in log-likelihood units, absolute
  std::size_t maxSteps = 10000;  // EM steps, counting those of the extrapolations
};

struct AdmixtureFit {
  AdmixtureParameters parameters;
  double logLikelihood = 0;
  std::size_t steps = 0;  // EM steps taken
  bool converged = false;
};

// ln L at the parameters over the scored cells of table.
double AdmixtureLogLikelihood(const ScoreTable& table, const AdmixtureParameters& parameters, BandModel model);

// One EM step from current: the updated parameters (within the bounds) and ln L at current.
struct EmStepResult {
  AdmixtureParameters next;
  double logLikelihood = 0;
};
EmStepResult AdmixtureEmStep(const ScoreTable& table, const AdmixtureParameters& current, BandModel model);

// Fits from start; stops early, unconverged, when keepGoing (asked between cycles) says false.
AdmixtureFit FitAdmixture(const ScoreTable& table, AdmixtureParameters start, const FitSettings& settings,
                          const std::function<bool()>& keepGoing = {});

// Puts every entry within the bounds and scales each row of Q to sum 1.
void Bound(AdmixtureParameters& parameters);

}  // namespace vorn
