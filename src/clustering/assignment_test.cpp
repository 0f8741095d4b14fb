#include "clustering/assignment_test.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "clustering/assignment_frequencies.h"

namespace vorn {
namespace {

// Individuals whose simulations run between two calls of the progress.
constexpr std::size_t kRoundIndividuals = 8;

// The references' counts of every population at every locus, with the log10 probabilities of
// both scores at the full counts; a reference asks for its own population's counts without it.
class ReferenceCounts {
 public:
  ReferenceCounts(const DataMatrix& data, const std::vector<ReferencePopulation>& populations)
      : loci_(data.locusCount),
        scored_(populations.size() * loci_),
        absent_(scored_.size()),
        logAbsent_(scored_.size()),
        logPresent_(scored_.size()) {
    for (std::size_t p = 0; p < populations.size(); ++p) {
      for (std::size_t l = 0; l < loci_; ++l) {
        const Cell* scores = data.Locus(l);
        for (const std::uint32_t i : populations[p].individuals) {
          scored_[p * loci_ + l] += scores[i] != Missing;
          absent_[p * loci_ + l] += scores[i] == Absence;
        }
        const std::size_t k = p * loci_ + l;
        if (scored_[k] > 0) {
          const Real a = AbsenceProbability(absent_[k], scored_[k]);
          logAbsent_[k] = std::log10(a);
          logPresent_[k] = std::log10(1 - a);
        }
      }
    }
  }

  // Scored references of population p at a locus l the individual is scored at, without it when
  // it is one of them.
  std::uint32_t Scored(std::size_t p, std::size_t l, bool home) const { return scored_[p * loci_ + l] - home; }

  // P(absent) in population p at locus l, seen by an individual scored score there (left out of
  // its home population); Scored(p, l, home) >= 1.
  Real AbsenceAt(std::size_t p, std::size_t l, bool home, Cell score) const {
    const std::size_t k = p * loci_ + l;
    return AbsenceProbability(absent_[k] - (home && score == Absence), scored_[k] - home);
  }

  // log10 P(score) in population p at locus l, as AbsenceAt sees it.
  Real Log10Probability(std::size_t p, std::size_t l, bool home, Cell score) const {
    const std::size_t k = p * loci_ + l;
    if (!home) return score == Absence ? logAbsent_[k] : logPresent_[k];
    const Real a = AbsenceAt(p, l, home, score);
    return std::log10(score == Absence ? a : 1 - a);
  }

  std::size_t PolymorphicLoci(std::size_t populationCount) const {
    std::size_t polymorphic = 0;
    for (std::size_t l = 0; l < loci_; ++l) {
      std::uint64_t scored = 0, absent = 0;
      for (std::size_t p = 0; p < populationCount; ++p) {
        scored += scored_[p * loci_ + l];
        absent += absent_[p * loci_ + l];
      }
      polymorphic += absent > 0 && absent < scored;
    }
    return polymorphic;
  }

 private:
  std::size_t loci_;
  std::vector<std::uint32_t> scored_, absent_;  // population-major: population p, locus l at p * L + l
  std::vector<Real> logAbsent_, logPresent_;
};

struct Individual {
  std::uint32_t position = 0;
  std::vector<bool> home;  // per population
  std::vector<std::size_t> homes;
};

// The loci scored in the individual and in a reference of every population without it.
std::vector<std::uint32_t> LociOf(const DataMatrix& data, const ReferenceCounts& counts, const Individual& who) {
  std::vector<std::uint32_t> loci;
  for (std::uint32_t l = 0; l < data.locusCount; ++l) {
    if (data.At(who.position, l) == Missing) continue;
    bool everywhere = true;
    for (std::size_t p = 0; p < who.home.size() && everywhere; ++p) everywhere = counts.Scored(p, l, who.home[p]) > 0;
    if (everywhere) loci.push_back(l);
  }
  return loci;
}

// What one population offers the simulations of one individual, locus by locus over its loci:
// a word of the generator below threshold draws an absence (NextReal < P(absent) exactly).
struct SimulatedLoci {
  std::vector<std::uint64_t> threshold;
  std::vector<double> logAbsent, logPresent;
  double observed = 0;  // the individual's own log10 L from the same terms, in the same order
};

SimulatedLoci SimulationTerms(const DataMatrix& data, const ReferenceCounts& counts, const Individual& who,
                              std::size_t p, const std::vector<std::uint32_t>& loci) {
  SimulatedLoci terms;
  for (const std::uint32_t l : loci) {
    const Cell score = data.At(who.position, l);
    const Real a = counts.AbsenceAt(p, l, who.home[p], score);
    terms.threshold.push_back(static_cast<std::uint64_t>(std::ceil(a * 4294967296.0L)));
    terms.logAbsent.push_back(static_cast<double>(std::log10(a)));
    terms.logPresent.push_back(static_cast<double>(std::log10(1 - a)));
    terms.observed += score == Absence ? terms.logAbsent.back() : terms.logPresent.back();
  }
  return terms;
}

// (simulated log10 L <= observed, + 1) / (simulations + 1), drawing from random.
Real SimulatedP(const SimulatedLoci& terms, std::int32_t simulations, RandomGenerator& random) {
  const double bar = terms.observed + 1e-9 * (1 + std::fabs(terms.observed));
  std::int64_t atMost = 0;
  for (std::int32_t s = 0; s < simulations; ++s) {
    double sum = 0;
    for (std::size_t k = 0; k < terms.threshold.size(); ++k) {
      sum += random.NextWord() < terms.threshold[k] ? terms.logAbsent[k] : terms.logPresent[k];
    }
    atMost += sum <= bar;
  }
  return Real(atMost + 1) / Real(simulations + 1);
}

AssignedIndividual Assign(const DataMatrix& data, const ReferenceCounts& counts, const Individual& who,
                          const std::vector<std::uint32_t>& loci) {
  const std::size_t populations = who.home.size();
  AssignedIndividual row;
  row.individual = who.position;
  row.homes = who.homes;
  row.loci = loci.size();
  row.log10Likelihoods.assign(populations, 0);
  for (std::size_t p = 0; p < populations; ++p) {
    for (const std::uint32_t l : loci) {
      row.log10Likelihoods[p] += counts.Log10Probability(p, l, who.home[p], data.At(who.position, l));
    }
  }
  const auto& logL = row.log10Likelihoods;
  row.assigned = static_cast<std::size_t>(std::max_element(logL.begin(), logL.end()) - logL.begin());
  std::optional<Real> second;
  for (std::size_t p = 0; p < populations; ++p) {
    if (p != row.assigned && (!second || logL[p] > *second)) second = logL[p];
  }
  row.ratio = logL[row.assigned] - *second;
  return row;
}

}  // namespace

std::vector<ReferencePopulation> SetAside(const std::vector<ReferencePopulation>& populations,
                                          const std::vector<std::uint32_t>& assignedOnly) {
  std::vector<ReferencePopulation> kept;
  for (const auto& population : populations) {
    ReferencePopulation references{population.name, {}};
    for (const std::uint32_t i : population.individuals) {
      if (std::find(assignedOnly.begin(), assignedOnly.end(), i) == assignedOnly.end()) {
        references.individuals.push_back(i);
      }
    }
    if (!references.individuals.empty()) kept.push_back(std::move(references));
  }
  return kept;
}

std::vector<std::uint32_t> IndividualsToAssign(std::size_t individualCount,
                                               const std::vector<ReferencePopulation>& populations,
                                               const std::vector<std::uint32_t>& assignedOnly) {
  std::vector<bool> included(individualCount, false);
  for (const auto& population : populations) {
    for (const std::uint32_t i : population.individuals) included[i] = true;
  }
  for (const std::uint32_t i : assignedOnly) included[i] = true;
  std::vector<std::uint32_t> individuals;
  for (std::uint32_t i = 0; i < individualCount; ++i) {
    if (included[i]) individuals.push_back(i);
  }
  return individuals;
}

Result<AssignmentResult> AssignmentTest(const DataMatrix& data, const std::vector<ReferencePopulation>& populations,
                                        const std::vector<std::uint32_t>& assignedOnly, std::int32_t simulations,
                                        RandomGenerator& random, const StepProgress& progress) {
  if (populations.size() < 2) {
    return Failure{"The assignment test needs at least 2 reference populations; there are " +
                   std::to_string(populations.size()) + "."};
  }
  for (const auto& population : populations) {
    if (population.individuals.size() < 2) {
      const std::size_t n = population.individuals.size();
      return Failure{"The population " + population.name + " has " + std::to_string(n) +
                     (n == 1 ? " reference individual" : " reference individuals") +
                     "; each individual is left out of its own population, so every population needs at least 2."};
    }
  }
  if (simulations < 0) return Failure{"The number of simulated profiles must not be negative."};
  const ReferenceCounts counts(data, populations);
  AssignmentResult result;
  result.simulations = simulations;
  result.polymorphicLoci = counts.PolymorphicLoci(populations.size());
  if (result.polymorphicLoci < 2) {
    return Failure{"The reference individuals are polymorphic at " + std::to_string(result.polymorphicLoci) +
                   (result.polymorphicLoci == 1 ? " locus" : " loci") + "; the assignment test needs at least 2."};
  }

  // Each individual's loci are found again where they are needed rather than kept, so that the
  // test holds no more than a few loci lists beside the data.
  std::vector<Individual> candidates;
  for (const std::uint32_t i : IndividualsToAssign(data.individualCount, populations, assignedOnly)) {
    Individual who{i, std::vector<bool>(populations.size(), false), {}};
    for (std::size_t p = 0; p < populations.size(); ++p) {
      const auto& members = populations[p].individuals;
      if (std::binary_search(members.begin(), members.end(), i)) {
        who.home[p] = true;
        who.homes.push_back(p);
      }
    }
    candidates.push_back(std::move(who));
  }
  std::vector<AssignedIndividual> rows(candidates.size());
  const auto candidateCount = static_cast<std::int64_t>(candidates.size());
#pragma omp parallel for schedule(dynamic)
  for (std::int64_t r = 0; r < candidateCount; ++r) {
    KeepResponsive();
    const auto loci = LociOf(data, counts, candidates[r]);
    if (!loci.empty()) rows[r] = Assign(data, counts, candidates[r], loci);
  }
  std::vector<Individual> assigned;
  for (std::size_t r = 0; r < rows.size(); ++r) {
    if (rows[r].loci == 0) {
      result.leftOut.push_back(candidates[r].position);
      continue;
    }
    result.rows.push_back(std::move(rows[r]));
    assigned.push_back(std::move(candidates[r]));
  }
  if (simulations == 0) return result;

  // Where each individual's draws begin in the serial order.
  const auto rowCount = static_cast<std::int64_t>(assigned.size());
  std::vector<std::uint64_t> firstDraw(assigned.size() + 1, 0);
  for (std::size_t r = 0; r < assigned.size(); ++r) {
    firstDraw[r + 1] =
        firstDraw[r] + std::uint64_t(populations.size()) * std::uint64_t(simulations) * result.rows[r].loci;
  }
  const RandomGenerator base = random;
  for (std::int64_t start = 0; start < rowCount; start += kRoundIndividuals) {
    const std::int64_t end = std::min<std::int64_t>(start + kRoundIndividuals, rowCount);
#pragma omp parallel for schedule(dynamic)
    for (std::int64_t r = start; r < end; ++r) {
      KeepResponsive();
      RandomGenerator draw = base;
      draw.Skip(firstDraw[r]);
      const auto loci = LociOf(data, counts, assigned[r]);
      auto& row = result.rows[r];
      for (std::size_t p = 0; p < populations.size(); ++p) {
        row.p.push_back(SimulatedP(SimulationTerms(data, counts, assigned[r], p, loci), simulations, draw));
      }
    }
    if (progress && !progress(static_cast<std::size_t>(end)) && end < rowCount) {
      random.Skip(firstDraw[end]);
      return Failure{""};
    }
  }
  random.Skip(firstDraw.back());
  return result;
}

}  // namespace vorn
