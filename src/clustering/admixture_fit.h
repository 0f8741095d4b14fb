// Maximum likelihood of the admixture model for dominant bands. Individual i descends from the
// K clusters in proportions q_i1..q_iK (summing to 1); cluster k carries the no-band allele at
// locus l with frequency r_kl, so that f_il = sum_k q_ik r_kl and P(no band) = f_il^2 (diploid)
// or f_il (haploid). Missing scores add nothing.
//
// The fit is block relaxation (Alexander, Novembre & Lange 2009): each iteration updates the q
// of every individual with R held (a Newton step on the simplex, q_ik >= kBound), then the r of
// every locus with Q held (a Newton step in the box [kBound, 1 - kBound]). ln L is concave in
// either block, and a block's step is halved until it gains, so no iteration loses likelihood.
// The iterations are accelerated by the quasi-Newton scheme of Zhou, Alexander & Lange (2011)
// with kSecants secant pairs: a cycle takes two iterations x1 = F(x0), x2 = F(x1) and then the
// extrapolated point x, bounded, when its ln L is at least that of x2; otherwise the first of
// x2 + (x - x2) / 2^h, h = 1..3, bounded, that is; otherwise x2. A fit has converged when a
// cycle gains less than the tolerance; its log-likelihood is evaluated at the parameters it
// returns.
//
// Every individual's and every locus's update depends on the other block alone, and the blocks'
// log-likelihoods are added in a fixed order, so a fit gives the same bits on any number of cores.
#pragma once

#include <cstddef>
#include <functional>
#include <vector>

#include "clustering/band_likelihood.h"
#include "clustering/score_table.h"

namespace vorn {

inline constexpr double kBound = 1e-5;
inline constexpr std::size_t kSecants = 3;

struct AdmixtureParameters {
  std::size_t clusters = 0;
  std::vector<double> q;  // individual i, cluster k at i * clusters + k
  std::vector<double> r;  // locus l, cluster k at l * clusters + k: the no-band allele's frequency
};

struct FitSettings {
  BandModel model = BandModel::DiploidDominant;
  double tolerance = 1e-4;            // in log-likelihood units, absolute
  std::size_t maxIterations = 1000;   // block-relaxation iterations, two a cycle
};

struct AdmixtureFit {
  AdmixtureParameters parameters;
  double logLikelihood = 0;
  std::size_t iterations = 0;  // block-relaxation iterations taken
  bool converged = false;
};

// ln L at the parameters over the scored cells of table, summed cell by cell.
double AdmixtureLogLikelihood(const ScoreTable& table, const AdmixtureParameters& parameters, BandModel model);

// Fits from start; stops early, unconverged, when keepGoing (asked between cycles) says false.
AdmixtureFit FitAdmixture(const ScoreTable& table, AdmixtureParameters start, const FitSettings& settings,
                          const std::function<bool()>& keepGoing = {});

// Puts every entry within the bounds and scales each row of Q to sum 1.
void Bound(AdmixtureParameters& parameters);

}  // namespace vorn
