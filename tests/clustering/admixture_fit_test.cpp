// The fit's optimum against its own likelihood, summed cell by cell, and against every move of a
// coordinate; no iteration losing likelihood.
#include "clustering/admixture_fit.h"

#include <gtest/gtest.h>

#include <cmath>

#include "core/random_generator.h"

namespace vorn {
namespace {

ScoreTable RandomTable(std::size_t n, std::size_t loci, RandomGenerator& random) {
  ScoreTable table{n, loci, {}};
  for (std::size_t j = 0; j < n * loci; ++j) {
    const std::uint32_t u = random.NextBelow(10);
    table.scores.push_back(u == 0 ? kUnscored : u < 5 ? kNoBand : kBand);
  }
  return table;
}

AdmixtureParameters RandomParameters(std::size_t n, std::size_t loci, std::size_t k, RandomGenerator& random) {
  AdmixtureParameters p{k, {}, {}};
  for (std::size_t j = 0; j < n * k; ++j) p.q.push_back(0.05 + static_cast<double>(random.NextReal()));
  for (std::size_t j = 0; j < loci * k; ++j) p.r.push_back(0.05 + 0.9 * static_cast<double>(random.NextReal()));
  Bound(p);
  return p;
}

TEST(FitAdmixture, ReportsTheLikelihoodOfItsParametersAndNoCoordinateImprovesIt) {
  RandomGenerator random;
  random.Seed(7);
  const ScoreTable table = RandomTable(12, 40, random);
  for (const BandModel model : {BandModel::DiploidDominant, BandModel::Haploid}) {
    FitSettings settings;
    settings.model = model;
    settings.tolerance = 1e-8;
    const AdmixtureFit fit = FitAdmixture(table, RandomParameters(12, 40, 2, random), settings);
    ASSERT_TRUE(fit.converged);
    const AdmixtureParameters& p = fit.parameters;
    const double at = AdmixtureLogLikelihood(table, p, model);
    EXPECT_NEAR(fit.logLikelihood, at, 1e-12 * std::fabs(at));
    // Direct sum of ln P(score) at the returned parameters.
    double direct = 0;
    for (std::size_t i = 0; i < 12; ++i) {
      for (std::size_t l = 0; l < 40; ++l) {
        if (table.At(i, l) == kUnscored) continue;
        const double f = p.q[i * 2] * p.r[l * 2] + p.q[i * 2 + 1] * p.r[l * 2 + 1];
        direct += BandLogLikelihood(table.At(i, l) == kBand, f, model);
      }
    }
    EXPECT_NEAR(fit.logLikelihood, direct, 1e-9 * std::fabs(direct));
    // A small move of any frequency (or of a q, kept on the simplex) gains at most the tolerance.
    for (double delta : {-1e-3, 1e-3}) {
      for (std::size_t j = 0; j < p.r.size(); ++j) {
        AdmixtureParameters moved = p;
        moved.r[j] = std::clamp(moved.r[j] + delta, kBound, 1 - kBound);
        EXPECT_LE(AdmixtureLogLikelihood(table, moved, model), fit.logLikelihood + 1e-6) << "r " << j;
      }
      for (std::size_t i = 0; i < 12; ++i) {
        AdmixtureParameters moved = p;
        moved.q[i * 2] = std::clamp(moved.q[i * 2] + delta, kBound, 1 - kBound);
        moved.q[i * 2 + 1] = 1 - moved.q[i * 2];
        EXPECT_LE(AdmixtureLogLikelihood(table, moved, model), fit.logLikelihood + 1e-6) << "q " << i;
      }
    }
  }
}

TEST(FitAdmixture, NoCycleLosesLikelihood) {
  RandomGenerator random;
  random.Seed(99);
  const ScoreTable table = RandomTable(30, 60, random);
  for (const std::size_t k : {1u, 3u}) {
    const AdmixtureParameters start = RandomParameters(30, 60, k, random);
    FitSettings settings;
    settings.tolerance = 1e-9;
    double previous = AdmixtureLogLikelihood(table, start, settings.model);
    for (std::size_t iterations = 2; iterations <= 40; iterations += 2) {
      settings.maxIterations = iterations;
      const AdmixtureFit fit = FitAdmixture(table, start, settings);
      EXPECT_GE(fit.logLikelihood, previous - 1e-9) << "K = " << k << ", " << iterations << " iterations";
      previous = fit.logLikelihood;
      if (fit.converged) break;
    }
  }
}

}  // namespace
}  // namespace vorn
