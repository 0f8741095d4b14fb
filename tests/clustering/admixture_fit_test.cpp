// The EM kernel against a slow, obvious EM that enumerates the cluster and allele of every gene
// copy, and the fit's optimum against its own likelihood.
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

// Every assignment of cluster and allele (1 = no-band allele) to the copies of one individual at
// one locus, weighted by its prior, kept when it agrees with the score, then normalised.
struct SlowStep {
  AdmixtureParameters next;
  double logLikelihood = 0;
};

SlowStep SlowEmStep(const ScoreTable& table, const AdmixtureParameters& p, BandModel model) {
  const std::size_t k = p.clusters, n = table.individuals, loci = table.loci;
  const int copies = CopyCount(model);
  std::vector<double> originSum(n * k, 0), copyTotal(n, 0), noBand(loci * k, 0), all(loci * k, 0);
  SlowStep slow;
  for (std::size_t i = 0; i < n; ++i) {
    for (std::size_t l = 0; l < loci; ++l) {
      const std::uint8_t score = table.At(i, l);
      if (score == kUnscored) continue;
      const std::size_t states = 2 * k;  // cluster * 2 + allele, per copy
      const std::size_t combinations = copies == 2 ? states * states : states;
      std::vector<double> weight(combinations, 0);
      double total = 0;
      for (std::size_t c = 0; c < combinations; ++c) {
        const std::size_t s1 = c % states, s2 = c / states;
        auto prior = [&](std::size_t s) {
          const double r = p.r[l * k + s / 2];
          return p.q[i * k + s / 2] * (s % 2 == 1 ? r : 1 - r);
        };
        const bool allNull = copies == 2 ? (s1 % 2 == 1 && s2 % 2 == 1) : s1 % 2 == 1;
        if (allNull != (score == kNoBand)) continue;
        weight[c] = copies == 2 ? prior(s1) * prior(s2) : prior(s1);
        total += weight[c];
      }
      slow.logLikelihood += std::log(total);
      for (std::size_t c = 0; c < combinations; ++c) {
        const double w = weight[c] / total;
        for (int copy = 0; copy < copies; ++copy) {
          const std::size_t s = copy == 0 ? c % states : c / states;
          originSum[i * k + s / 2] += w;
          all[l * k + s / 2] += w;
          if (s % 2 == 1) noBand[l * k + s / 2] += w;
        }
      }
      copyTotal[i] += copies;
    }
  }
  slow.next = p;
  for (std::size_t j = 0; j < n * k; ++j) slow.next.q[j] = originSum[j] / copyTotal[j / k];
  for (std::size_t j = 0; j < loci * k; ++j) slow.next.r[j] = noBand[j] / all[j];
  Bound(slow.next);
  return slow;
}

TEST(AdmixtureEmStep, MatchesEnumerationOfEveryGeneCopy) {
  RandomGenerator random;
  random.Seed(20260);
  struct Case {
    std::size_t n, loci, k;
    BandModel model;
  };
  for (const Case& c : {Case{3, 4, 1, BandModel::DiploidDominant}, Case{5, 7, 2, BandModel::DiploidDominant},
                        Case{4, 6, 3, BandModel::Haploid}, Case{20, 9, 3, BandModel::DiploidDominant},
                        Case{6, 5, 4, BandModel::Haploid}}) {
    SCOPED_TRACE(std::to_string(c.n) + " x " + std::to_string(c.loci) + ", K = " + std::to_string(c.k));
    const ScoreTable table = RandomTable(c.n, c.loci, random);
    const AdmixtureParameters p = RandomParameters(c.n, c.loci, c.k, random);
    const EmStepResult fast = AdmixtureEmStep(table, p, c.model);
    const SlowStep slow = SlowEmStep(table, p, c.model);
    EXPECT_NEAR(fast.logLikelihood, slow.logLikelihood, 1e-10 * std::fabs(slow.logLikelihood));
    for (std::size_t j = 0; j < p.q.size(); ++j) EXPECT_NEAR(fast.next.q[j], slow.next.q[j], 1e-12) << "q " << j;
    for (std::size_t j = 0; j < p.r.size(); ++j) EXPECT_NEAR(fast.next.r[j], slow.next.r[j], 1e-12) << "r " << j;
  }
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
    EXPECT_EQ(fit.logLikelihood, at);
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

TEST(FitAdmixture, AccelerationReachesThePlainEmOptimumInFewerSteps) {
  RandomGenerator random;
  random.Seed(99);
  const ScoreTable table = RandomTable(15, 30, random);
  const AdmixtureParameters start = RandomParameters(15, 30, 2, random);
  AdmixtureParameters plain = start;
  double previous = -INFINITY, now = 0;
  std::size_t plainSteps = 0;
  for (;; ++plainSteps) {
    EmStepResult step = AdmixtureEmStep(table, plain, BandModel::DiploidDominant);
    now = step.logLikelihood;
    if (now - previous < 1e-9) break;
    previous = now;
    plain = std::move(step.next);
  }
  FitSettings settings;
  settings.tolerance = 1e-9;
  const AdmixtureFit fit = FitAdmixture(table, start, settings);
  EXPECT_NEAR(fit.logLikelihood, now, 1e-4);
  EXPECT_LT(fit.steps, plainSteps);
}

}  // namespace
}  // namespace vorn
