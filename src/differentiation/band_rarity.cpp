#include "differentiation/band_rarity.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "diversity/band_tally.h"

namespace vorn {
namespace {

constexpr Real kNaN = std::numeric_limits<Real>::quiet_NaN();

// The carriers of each band among the listed individuals.
std::vector<std::uint32_t> Carriers(const DataMatrix& data, const std::uint32_t* individuals, std::size_t count) {
  std::vector<std::uint32_t> carriers(data.locusCount, 0);
  for (std::size_t l = 0; l < data.locusCount; ++l) {
    for (std::size_t k = 0; k < count; ++k) carriers[l] += data.At(individuals[k], l) == Presence;
  }
  return carriers;
}

// Σ_l part[l] / all[l] over the bands carried at all.
Real DownWeighted(const std::vector<std::uint32_t>& part, const std::vector<std::uint32_t>& all) {
  Real sum = 0;
  for (std::size_t l = 0; l < all.size(); ++l) {
    if (all[l] > 0) sum += Real(part[l]) / Real(all[l]);
  }
  return sum;
}

}  // namespace

Real NoCarrierProbability(std::uint32_t N, std::uint32_t c, std::uint32_t g) {
  if (c > N || N - c < g) return 0;
  Real q = 1;
  for (std::uint32_t i = 0; i < g; ++i) q *= Real(N - c - i) / Real(N - i);
  return q;
}

Result<RarityResult> ComputeBandRarity(const DataMatrix& data, const std::vector<PopulationMembers>& populations,
                                       std::int32_t replicates, RandomGenerator& random,
                                       const StepProgress& progress) {
  std::vector<const PopulationMembers*> owner(data.individualCount, nullptr);
  for (const auto& population : populations) {
    if (population.individuals.empty()) return Failure{"The population " + population.name + " has no individuals."};
    for (std::uint32_t i : population.individuals) {
      if (owner[i]) {
        return Failure{"Band rarity needs every individual in one population at most; " + data.individualLabels[i] +
                       " is in " + owner[i]->name + " and in " + population.name + "."};
      }
      owner[i] = &population;
    }
  }
  RarityResult result;
  std::vector<std::uint32_t> everyone;
  for (const auto& population : populations) {
    everyone.insert(everyone.end(), population.individuals.begin(), population.individuals.end());
  }
  const std::vector<std::uint32_t> all = Carriers(data, everyone.data(), everyone.size());

  // DW of the individuals and the populations.
  result.individualDW.assign(data.individualCount, 0);
  result.subsampleSize = populations.front().individuals.size();
  for (const auto& population : populations) {
    PopulationRarity row;
    row.name = population.name;
    row.individuals = population.individuals.size();
    for (std::uint32_t i : population.individuals) {
      Real dw = 0;
      for (std::size_t l = 0; l < data.locusCount; ++l) {
        if (data.At(i, l) == Presence) dw += 1 / Real(all[l]);
      }
      result.individualDW[i] = dw;
      row.meanDW += dw;
    }
    row.meanDW /= Real(row.individuals);
    row.totalDW = DownWeighted(Carriers(data, population.individuals.data(), row.individuals), all);
    row.rarefiedMean = row.rarefiedSD = kNaN;
    result.subsampleSize = std::min(result.subsampleSize, row.individuals);
    result.populations.push_back(row);
  }

  // DW among subsamples of the smallest population's size.
  if (replicates > 0) {
    const std::size_t P = populations.size(), g = result.subsampleSize;
    std::vector<std::vector<Real>> totals(P);
    std::vector<std::uint32_t> sample, order;
    std::vector<std::vector<std::uint32_t>> parts(P);
    for (std::int32_t r = 0; r < replicates; ++r) {
      KeepResponsive();
      sample.clear();
      for (std::size_t j = 0; j < P; ++j) {
        order = populations[j].individuals;
        ShuffleOrder(order.data(), order.size(), random);
        parts[j] = Carriers(data, order.data(), g);
        sample.insert(sample.end(), order.begin(), order.begin() + std::ptrdiff_t(g));
      }
      const std::vector<std::uint32_t> sampled = Carriers(data, sample.data(), sample.size());
      for (std::size_t j = 0; j < P; ++j) totals[j].push_back(DownWeighted(parts[j], sampled));
      if (progress && !progress(std::size_t(r) + 1)) {
        result.cancelled = true;
        return result;
      }
    }
    for (std::size_t j = 0; j < P; ++j) {
      Real sum = 0;
      for (Real t : totals[j]) sum += t;
      const Real mean = sum / Real(replicates);
      Real squares = 0;
      for (Real t : totals[j]) squares += (t - mean) * (t - mean);
      result.populations[j].rarefiedMean = mean;
      result.populations[j].rarefiedSD = replicates < 2 ? kNaN : std::sqrt(squares / Real(replicates - 1));
    }
  }

  // Rarefied richness from the scored counts and carriers of each population at each locus.
  std::vector<BandTally> tallies;
  std::uint32_t maximum = std::numeric_limits<std::uint32_t>::max();
  for (const auto& population : populations) {
    tallies.push_back(TallyBands(data, population.individuals));
    for (std::uint32_t n : tallies.back().scored) maximum = std::min(maximum, n);
  }
  result.rarefactionMaximum = data.locusCount == 0 ? 0 : maximum;
  std::vector<Real> absent(populations.size());
  for (std::uint32_t g = 2; g <= result.rarefactionMaximum; ++g) {
    std::vector<Real> richness(populations.size(), 0), privateRichness(populations.size(), 0);
    for (std::size_t l = 0; l < data.locusCount; ++l) {
      for (std::size_t j = 0; j < populations.size(); ++j) {
        absent[j] = NoCarrierProbability(tallies[j].scored[l], tallies[j].present[l], g);
      }
      for (std::size_t j = 0; j < populations.size(); ++j) {
        Real elsewhereAbsent = 1;
        for (std::size_t k = 0; k < populations.size(); ++k) {
          if (k != j) elsewhereAbsent *= absent[k];
        }
        richness[j] += 1 - absent[j];
        privateRichness[j] += (1 - absent[j]) * elsewhereAbsent;
      }
    }
    result.richness.push_back(richness);
    result.privateRichness.push_back(privateRichness);
  }
  return result;
}

}  // namespace vorn
