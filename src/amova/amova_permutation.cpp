#include "amova/amova_permutation.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/progress.h"

namespace vorn {
namespace {

constexpr Real kTieTolerance = 1e-10L;
// Pair-sums below which one thread runs the permutations (sharing costs more than it saves).
constexpr double kParallelWork = double(1 << 22);
// Pair-sums of one round of permutations, after which the progress is told: a few hundredths of
// a second.
constexpr double kRoundWork = double(1 << 25);
constexpr std::uint32_t kOutside = 0xffffffffu;

enum class Statistic { PhiSR, PhiRT, PhiST };

// The hierarchy flattened for permuting: the individuals of every population one after another
// (slots), population p at [populationStart[p], populationStart[p + 1]), region r holding
// populations [regionStart[r], regionStart[r + 1]); the squared distances' nearest doubles in
// the strict lower triangle, read where the distances keep them.
struct Design {
  int levels = 0;
  AmovaLayout layout;
  Real total = 0;
  const double* triangle = nullptr;
  std::vector<std::uint32_t> slots;
  std::vector<std::size_t> populationStart{0};
  std::vector<std::size_t> regionStart{0};

  std::size_t Populations() const { return populationStart.size() - 1; }
  std::size_t Regions() const { return regionStart.size() - 1; }
  std::size_t RegionBegin(std::size_t r) const { return populationStart[regionStart[r]]; }
  std::size_t RegionEnd(std::size_t r) const { return populationStart[regionStart[r + 1]]; }
};

// What one thread reuses from permutation to permutation.
struct Scratch {
  std::vector<std::uint32_t> slots, members, order;
  AmovaSums sums;
  AmovaLayout layout;
};

Design Flatten(const TAMOVA& amova, const SquaredDistances& distances) {
  Design design;
  design.levels = amova.Levels();
  design.layout = amova.Layout();
  design.triangle = distances.Nearest();
  std::vector<std::uint32_t> everyone(distances.Size());
  for (std::uint32_t i = 0; i < everyone.size(); ++i) everyone[i] = i;
  design.total = PairSum(distances, everyone);
  for (const auto& region : amova.Hierarchy) {
    for (const auto& population : region) {
      design.slots.insert(design.slots.end(), population.individuals.begin(), population.individuals.end());
      design.populationStart.push_back(design.slots.size());
    }
    design.regionStart.push_back(design.populationStart.size() - 1);
  }
  return design;
}

Status CheckPartition(const TAMOVA& amova, const LabelTable& labels, const GroupList& groups) {
  std::vector<std::size_t> groupOf(amova.IndividualTotal, 0);
  for (const auto& region : amova.Hierarchy) {
    for (const auto& population : region) {
      for (std::uint32_t i : population.individuals) {
        if (groupOf[i] != 0) {
          return Failure{"The permutation test needs every individual in one population at most; " + labels[i] +
                         " is in " + groups[groupOf[i]].name + " and in " + groups[population.groupIndex].name + "."};
        }
        groupOf[i] = population.groupIndex;
      }
    }
  }
  return Success();
}

// Each population's sum as the slots hold it: its members in ascending order, each with those
// before it, so that the same population always gives the same sum.
void WithinSums(const Design& design, Scratch& s) {
  const std::size_t populations = design.Populations();
  s.sums.within.resize(populations);
  for (std::size_t p = 0; p < populations; ++p) {
    s.members.assign(s.slots.begin() + design.populationStart[p], s.slots.begin() + design.populationStart[p + 1]);
    std::sort(s.members.begin(), s.members.end());
    double sum = 0;
    for (std::size_t a = 1; a < s.members.size(); ++a) {
      const std::uint32_t i = s.members[a];
      const double* row = design.triangle + std::size_t{i} * (i - 1) / 2;
      double part = 0;
      for (std::size_t b = 0; b < a; ++b) part += row[s.members[b]];
      sum += part;
    }
    s.sums.within[p] = sum;
  }
}

// The sums of every pair of populations as laid out, p >= q at p * P + q: within on the diagonal.
std::vector<double> BlockSums(const Design& design) {
  const std::size_t populations = design.Populations();
  std::vector<std::uint32_t> population(design.layout.individualTotal, kOutside);
  for (std::size_t p = 0; p < populations; ++p) {
    for (std::size_t k = design.populationStart[p]; k < design.populationStart[p + 1]; ++k) {
      population[design.slots[k]] = static_cast<std::uint32_t>(p);
    }
  }
  std::vector<double> block(populations * populations, 0);
  for (std::size_t i = 1; i < population.size(); ++i) {
    const std::uint32_t p = population[i];
    if (p == kOutside) continue;
    const double* row = design.triangle + i * (i - 1) / 2;
    for (std::size_t j = 0; j < i; ++j) {
      const std::uint32_t q = population[j];
      if (q != kOutside) block[std::max(p, q) * populations + std::min(p, q)] += row[j];
    }
  }
  return block;
}

// The component each permutation scheme tests, signed so that larger values speak against the
// null hypothesis: Vb for PhiSR (with the region sums fixed PhiSR rises with Vb), Va for PhiRT,
// and for PhiST with one level Va (PhiST rises with it), with two levels -Vc (PhiST = 1 - Vc/Vt).
Real StatisticOf(const AmovaValues& v, Statistic statistic, int levels) {
  switch (statistic) {
    case Statistic::PhiSR: return v.Vb;
    case Statistic::PhiRT: return v.Va;
    case Statistic::PhiST: return levels == 1 ? v.Va : -v.Vc;
  }
  return 0;
}

class PermutationTest {
 public:
  PermutationTest(const TAMOVA& amova, const SquaredDistances& distances) : design_(Flatten(amova, distances)) {
    if (design_.levels == 1) return;
    blocks_ = BlockSums(design_);
    std::vector<std::uint32_t> order(design_.Populations());
    for (std::uint32_t p = 0; p < order.size(); ++p) order[p] = p;
    RegionSums(order, regions_);
  }

  // The p-value of statistic over permutations whose draws start at base skipped by offset.
  // The permutations run in rounds; after each, roundDone is told how many are done, and false
  // ends the test without a value. Each permutation has its own place in the generator, so the
  // count is the same whatever the rounds and the cores.
  std::optional<Real> PValue(Statistic statistic, std::int32_t permutations, const RandomGenerator& base,
                             std::uint64_t offset, const StepProgress& roundDone) const {
    Scratch observed = NewScratch();
    const Real target = Evaluate(statistic, observed, {});
    const Real n = static_cast<Real>(design_.layout.individualTotal);
    const Real meanSquare = design_.total / (n * (n - 1) / 2);
    const Real bar = target - kTieTolerance * (std::fabs(target) + meanSquare);
    const std::uint64_t draws = DrawsPerPermutation(statistic);
    const double pairs = double(design_.slots.size()) * double(design_.slots.size()) / 2;
    const bool parallel = double(permutations) * pairs >= kParallelWork;
    const auto round = static_cast<std::int64_t>(std::clamp(kRoundWork / std::max(pairs, 1.0), 1.0, double(permutations)));
    std::int64_t atLeast = 0;
    for (std::int64_t first = 0; first < permutations; first += round) {
      const std::int64_t end = std::min<std::int64_t>(first + round, permutations);
#pragma omp parallel if (parallel) reduction(+ : atLeast)
      {
        Scratch scratch = NewScratch();
#pragma omp for schedule(static)
        for (std::int64_t k = first; k < end; ++k) {
          KeepResponsive();
          RandomGenerator random = base;
          random.Skip(offset + static_cast<std::uint64_t>(k) * draws);
          if (Evaluate(statistic, scratch, &random) >= bar) ++atLeast;
        }
      }
      if (roundDone && !roundDone(static_cast<std::size_t>(end))) return std::nullopt;
    }
    return static_cast<Real>(atLeast + 1) / static_cast<Real>(permutations + 1);
  }

  std::uint64_t DrawsPerPermutation(Statistic statistic) const {
    const auto draws = [](std::size_t count) -> std::uint64_t { return count > 1 ? count - 1 : 0; };
    switch (statistic) {
      case Statistic::PhiSR: {
        std::uint64_t sum = 0;
        for (std::size_t r = 0; r < design_.Regions(); ++r) sum += draws(design_.RegionEnd(r) - design_.RegionBegin(r));
        return sum;
      }
      case Statistic::PhiRT: return draws(design_.Populations());
      case Statistic::PhiST: return draws(design_.slots.size());
    }
    return 0;
  }

 private:
  Scratch NewScratch() const {
    Scratch s;
    s.layout = design_.layout;
    s.sums.total = design_.total;
    return s;
  }

  // The statistic for the slots shuffled by random (as laid out without it).
  Real Evaluate(Statistic statistic, Scratch& s, RandomGenerator* random) const {
    if (statistic == Statistic::PhiRT) return PopulationsAmongRegions(s, random);
    s.slots = design_.slots;
    if (random && statistic == Statistic::PhiST) ShuffleOrder(s.slots.data(), s.slots.size(), *random);
    if (random && statistic == Statistic::PhiSR) {
      for (std::size_t r = 0; r < design_.Regions(); ++r) {
        ShuffleOrder(s.slots.data() + design_.RegionBegin(r), design_.RegionEnd(r) - design_.RegionBegin(r), *random);
      }
    }
    WithinSums(design_, s);
    // Permuting within regions leaves the region sums as they are; the test of PhiST with two
    // levels reads only Vc, which rests on the within sums alone. With one level each
    // population is its own region.
    s.sums.region = design_.levels == 1 ? s.sums.within : regions_;
    return StatisticOf(ComputeAmova(design_.levels, s.layout, s.sums), statistic, design_.levels);
  }

  // Whole populations shuffled among the region places: region sums from the population blocks.
  Real PopulationsAmongRegions(Scratch& s, RandomGenerator* random) const {
    const std::size_t populations = design_.Populations();
    s.order.resize(populations);
    for (std::uint32_t p = 0; p < populations; ++p) s.order[p] = p;
    if (random) ShuffleOrder(s.order.data(), populations, *random);
    s.sums.within.resize(populations);
    for (std::size_t k = 0; k < populations; ++k) {
      const std::uint32_t p = s.order[k];
      s.layout.populationSizes[k] = design_.layout.populationSizes[p];
      s.sums.within[k] = blocks_[p * populations + p];
    }
    RegionSums(s.order, s.sums.region);
    return StatisticOf(ComputeAmova(design_.levels, s.layout, s.sums), Statistic::PhiRT, design_.levels);
  }

  // The sum of each region with the populations in the given order at its places.
  void RegionSums(const std::vector<std::uint32_t>& order, std::vector<Real>& sums) const {
    const std::size_t populations = design_.Populations();
    sums.resize(design_.Regions());
    for (std::size_t r = 0; r < design_.Regions(); ++r) {
      double sum = 0;
      for (std::size_t k = design_.regionStart[r]; k < design_.regionStart[r + 1]; ++k) {
        for (std::size_t l = design_.regionStart[r]; l <= k; ++l) {
          sum += blocks_[std::max(order[k], order[l]) * populations + std::min(order[k], order[l])];
        }
      }
      sums[r] = sum;
    }
  }

  Design design_;
  std::vector<double> blocks_;  // sums between populations p >= q at p * P + q
  std::vector<Real> regions_;   // the region sums as laid out
};

}  // namespace

Result<AmovaSignificance> AmovaPermutationTest(const TAMOVA& amova, const SquaredDistances& distances,
                                               const LabelTable& labels, const GroupList& groups,
                                               std::int32_t permutations, RandomGenerator& random,
                                               const StepProgress& progress) {
  if (permutations < 1) return Failure{"The number of permutations must be at least 1."};
  if (auto partition = CheckPartition(amova, labels, groups); !partition) return Failure{partition.error()};
  PermutationTest test(amova, distances);
  AmovaSignificance result;
  result.permutations = permutations;
  std::uint64_t offset = 0;
  std::size_t testsDone = 0, done = 0;
  const StepProgress roundDone = [&](std::size_t inTest) {
    done = inTest;
    return !progress || progress(testsDone * static_cast<std::size_t>(permutations) + inTest);
  };
  // Each test in turn; false when it was stopped, with the generator past the permutations done.
  const auto run = [&](Statistic statistic, Real& p) {
    const auto value = test.PValue(statistic, permutations, random, offset, roundDone);
    offset += test.DrawsPerPermutation(statistic) * (value ? static_cast<std::uint64_t>(permutations) : done);
    ++testsDone;
    if (value) p = *value;
    return value.has_value();
  };
  const bool completed = amova.Levels() == 2
                             ? run(Statistic::PhiSR, result.pPhiSR) && run(Statistic::PhiRT, result.pPhiRT) &&
                                   run(Statistic::PhiST, result.pPhiST)
                             : run(Statistic::PhiST, result.pPhiST);
  random.Skip(offset);
  if (!completed) return Failure{""};
  return result;
}

std::size_t AmovaPermutationSteps(int levels, std::int32_t permutations) {
  return static_cast<std::size_t>(levels == 2 ? 3 : 1) * static_cast<std::size_t>(std::max(permutations, 0));
}

}  // namespace vorn
