#include "differentiation/band_fst.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <limits>
#include <memory>
#include <optional>
#include <type_traits>

#include <omp.h>

#include "diversity/band_tally.h"
#include "differentiation/locus_columns.h"

namespace vorn {
namespace {

constexpr Real kNaN = std::numeric_limits<Real>::quiet_NaN();
// A permuted F_ST within 1e-10 (relative to 1 + |F_ST|) of the observed one counts as a tie.
constexpr Real kTieTolerance = 1e-10L;
// Permutations between two reports of progress, and the popcount words below which a test runs
// on one thread.
constexpr std::int64_t kRound = 64;
constexpr double kParallelWords = double(1 << 22);

// What one evaluation reuses: the populations' masks, their counts at every locus (locus-major),
// their sizes and the estimates of one locus.
struct Scratch {
  std::vector<std::uint64_t> masks;
  std::vector<std::uint32_t> present, scored, sizes;
  std::vector<Real> q;
  std::vector<double> qd;
};

// The observed per-locus values, for the jackknife and the populations' Hj.
struct LocusValues {
  std::vector<Real> hw, hb;  // per locus used
  std::vector<Real> hj;      // per locus used, the populations' Hj one after another
};

// The populations of one test laid out at places: population j at [start[j], start[j + 1]).
class FstTest {
 public:
  FstTest(const DataMatrix& data, const std::vector<const PopulationMembers*>& populations,
          std::vector<const NullAlleleTable*> tables)
      : tables_(std::move(tables)), start_{0} {
    std::vector<std::uint32_t> individuals;
    for (const PopulationMembers* population : populations) {
      individuals.insert(individuals.end(), population->individuals.begin(), population->individuals.end());
      start_.push_back(static_cast<std::uint32_t>(individuals.size()));
    }
    columns_ = std::make_unique<LocusColumns>(data, individuals);
  }

  std::size_t Places() const { return start_.back(); }
  std::size_t Populations() const { return start_.size() - 1; }

  Scratch NewScratch() const {
    const std::size_t P = Populations(), cells = P * columns_->Loci();
    std::vector<std::uint32_t> sizes(P);
    for (std::size_t j = 0; j < P; ++j) sizes[j] = start_[j + 1] - start_[j];
    return {std::vector<std::uint64_t>(P * columns_->Words()), std::vector<std::uint32_t>(cells),
            std::vector<std::uint32_t>(columns_->HasMissingScores() ? cells : 0), std::move(sizes),
            std::vector<Real>(P), std::vector<double>(P)};
  }

  // F_ST for the individuals at order[start[j] .. start[j + 1]) making up population j, summed
  // in Number: Real for the observed values, double for the permuted ones.
  template <typename Number>
  FstComponents Evaluate(const std::uint32_t* order, Scratch& s, LocusValues* values) const {
    const std::size_t P = Populations(), words = columns_->Words();
    std::fill(s.masks.begin(), s.masks.end(), 0);
    for (std::size_t j = 0; j < P; ++j) {
      std::uint64_t* mask = s.masks.data() + j * words;
      for (std::uint32_t k = start_[j]; k < start_[j + 1]; ++k) mask[order[k] / 64] |= std::uint64_t{1} << (order[k] % 64);
    }
    const bool missing = columns_->HasMissingScores();
    counter_(*columns_, s.masks.data(), P, s.present.data(), missing ? s.scored.data() : nullptr);
    Number hw = 0, hb = 0;
    std::size_t loci = 0;
    for (std::size_t l = 0; l < columns_->Loci(); ++l) {
      const std::uint32_t* present = s.present.data() + l * P;
      const std::uint32_t* scored = missing ? s.scored.data() + l * P : s.sizes.data();
      Number sumH = 0, sumQ = 0, sumV = 0;
      bool estimable = true;
      for (std::size_t j = 0; j < P && estimable; ++j) {
        if constexpr (std::is_same_v<Number, double>) {
          const NullAlleleTable::Rounded& e = tables_[j]->RoundedAt(scored[j], scored[j] - present[j]);
          estimable = e.estimable;
          sumH += e.hj, sumQ += e.q, sumV += e.variance, s.qd[j] = e.q;
        } else {
          const NullAlleleTable::Entry& e = tables_[j]->At(scored[j], scored[j] - present[j]);
          estimable = e.estimable;
          sumH += e.hj, sumQ += e.q, sumV += e.variance, s.q[j] = e.q;
        }
      }
      if (!estimable) continue;
      const Number meanQ = sumQ / Number(P);
      Number squares = 0;
      for (std::size_t j = 0; j < P; ++j) {
        const Number d = (std::is_same_v<Number, double> ? Number(s.qd[j]) : Number(s.q[j])) - meanQ;
        squares += d * d;
      }
      const Number hwLocus = sumH / Number(P);
      const Number hbLocus = 2 * squares / Number(P - 1) - 2 * sumV / Number(P);
      hw += hwLocus, hb += hbLocus, ++loci;
      if (values) {
        values->hw.push_back(Real(hwLocus));
        values->hb.push_back(Real(hbLocus));
        for (std::size_t j = 0; j < P; ++j) {
          values->hj.push_back(tables_[j]->At(scored[j], scored[j] - present[j]).hj);
        }
      }
    }
    FstComponents c;
    c.loci = loci;
    if (loci == 0) {
      c.hw = c.hb = c.ht = c.fst = kNaN;
      return c;
    }
    c.hw = Real(hw) / Real(loci);
    c.hb = Real(hb) / Real(loci);
    c.ht = c.hw + c.hb;
    c.defined = c.ht > 0;
    c.fst = c.defined ? c.hb / c.ht : kNaN;
    return c;
  }

  FstComponents Observed(LocusValues* values) const {
    std::vector<std::uint32_t> order(Places());
    for (std::uint32_t k = 0; k < order.size(); ++k) order[k] = k;
    Scratch s = NewScratch();
    return Evaluate<Real>(order.data(), s, values);
  }

  // The permutation p of observed F_ST: permutation k shuffles the places with the generator
  // base skipped by offset + k (places − 1) draws. Nothing when roundDone asks to stop.
  std::optional<Real> PValue(const FstComponents& observed, std::int32_t permutations, const RandomGenerator& base,
                             std::uint64_t offset, const std::function<bool(std::int64_t)>& roundDone) const {
    const Real bar = observed.fst - kTieTolerance * (1 + std::fabs(observed.fst));
    const std::uint64_t draws = Places() - 1;
    const double work = double(permutations) * double(columns_->Loci()) * double(Populations()) *
                        double(columns_->Words()) * (columns_->HasMissingScores() ? 2 : 1);
    const bool parallel = work >= kParallelWords;
    std::int64_t atLeast = 0;
    for (std::int64_t first = 0; first < permutations; first += kRound) {
      const std::int64_t end = std::min<std::int64_t>(first + kRound, permutations);
#pragma omp parallel if (parallel) reduction(+ : atLeast)
      {
        Scratch s = NewScratch();
        std::vector<std::uint32_t> order(Places());
#pragma omp for schedule(static)
        for (std::int64_t k = first; k < end; ++k) {
          KeepResponsive();
          RandomGenerator random = base;
          random.Skip(offset + static_cast<std::uint64_t>(k) * draws);
          for (std::uint32_t i = 0; i < order.size(); ++i) order[i] = i;
          ShuffleOrder(order.data(), order.size(), random);
          const FstComponents c = Evaluate<double>(order.data(), s, nullptr);
          if (c.defined && c.fst >= bar) ++atLeast;
        }
      }
      if (roundDone && !roundDone(end)) return std::nullopt;
    }
    return static_cast<Real>(atLeast + 1) / static_cast<Real>(permutations + 1);
  }

  std::uint64_t Draws(std::int32_t permutations) const { return (Places() - 1) * static_cast<std::uint64_t>(permutations); }

 private:
  std::vector<const NullAlleleTable*> tables_;
  std::vector<std::uint32_t> start_;
  std::unique_ptr<LocusColumns> columns_;
  LocusCounter counter_ = ChosenLocusCounter();
};

// The standard error of Hb / Ht by leaving out one locus at a time.
Real JackknifeSE(const LocusValues& values) {
  const std::size_t L = values.hw.size();
  if (L < 2) return kNaN;
  Real hw = 0, hb = 0;
  for (std::size_t l = 0; l < L; ++l) hw += values.hw[l], hb += values.hb[l];
  std::vector<Real> pseudo(L);
  Real mean = 0;
  for (std::size_t l = 0; l < L; ++l) {
    const Real b = hb - values.hb[l];
    pseudo[l] = b / (hw - values.hw[l] + b);
    mean += pseudo[l];
  }
  mean /= Real(L);
  Real squares = 0;
  for (Real f : pseudo) squares += (f - mean) * (f - mean);
  return std::sqrt(squares * Real(L - 1) / Real(L));
}

Status CheckDisjoint(const DataMatrix& data, const std::vector<PopulationMembers>& populations) {
  std::vector<const PopulationMembers*> owner(data.individualCount, nullptr);
  for (const auto& population : populations) {
    for (std::uint32_t i : population.individuals) {
      if (owner[i]) {
        return Failure{"F_ST needs every individual in one population at most; " + data.individualLabels[i] +
                       " is in " + owner[i]->name + " and in " + population.name + "."};
      }
      owner[i] = &population;
    }
  }
  return Success();
}

}  // namespace

Result<BandFstResult> ComputeBandFst(const DataMatrix& data, const std::vector<PopulationMembers>& populations,
                                     const NullAlleleSettings& settings, std::int32_t permutations,
                                     RandomGenerator& random, const StepProgress& progress) {
  if (const Status disjoint = CheckDisjoint(data, populations); !disjoint) return Failure{disjoint.error()};
  BandFstResult result;
  std::vector<const PopulationMembers*> used;
  for (std::size_t j = 0; j < populations.size(); ++j) {
    PopulationHj row;
    row.name = populations[j].name;
    row.individuals = populations[j].individuals.size();
    row.used = row.individuals >= 2;
    row.hj = {kNaN, kNaN, 0};
    if (row.used) result.used.push_back(j), used.push_back(&populations[j]);
    result.populations.push_back(row);
  }
  if (used.size() < 2) {
    return Failure{"F_ST needs at least two populations of two or more individuals; " + std::to_string(used.size()) +
                   " of the " + std::to_string(populations.size()) + " populations have them."};
  }

  // The estimates of each population, its prior taken from its observed band counts.
  bool missing = false;
  for (const PopulationMembers* population : used) {
    for (std::uint32_t i : population->individuals) {
      for (std::size_t l = 0; l < data.locusCount && !missing; ++l) missing = data.At(i, l) != Presence && data.At(i, l) != Absence;
    }
  }
  std::vector<std::unique_ptr<NullAlleleTable>> tables;
  std::vector<const NullAlleleTable*> tablePointers;
  for (std::size_t u = 0; u < used.size(); ++u) {
    BetaPrior prior;
    if (settings.method == NullAlleleMethod::Bayesian && !settings.uniformPrior) {
      const BandTally tally = TallyBands(data, used[u]->individuals);
      std::vector<std::uint32_t> absent(tally.Loci());
      for (std::size_t l = 0; l < absent.size(); ++l) absent[l] = tally.scored[l] - tally.present[l];
      prior = EstimatePrior(tally.scored, absent);
    }
    result.populations[result.used[u]].prior = prior;
    tables.push_back(std::make_unique<NullAlleleTable>(settings, prior,
                                                       static_cast<std::uint32_t>(used[u]->individuals.size()), missing));
    tablePointers.push_back(tables.back().get());
  }

  // The overall test spreads its permutations over the cores; the pairs' tests run a pair per
  // core, each on its own stretch of the generator's stream, so that the cores meet once at the
  // end rather than after every round (a busy machine stalls a core now and then).
  const RandomGenerator start = random;
  std::uint64_t offset = 0;
  std::atomic<std::size_t> permutationsDone{0};
  std::atomic<bool> stop{false};
  const auto report = [&](std::size_t done) {
    if (stop || (progress && !progress(done))) stop = true;
    return !stop;
  };
  const auto pValue = [&](const FstTest& test, const FstComponents& observed, std::uint64_t at,
                          const std::function<bool(std::int64_t)>& roundDone) -> std::optional<Real> {
    if (permutations == 0) return kNaN;
    std::optional<Real> p = test.PValue(observed, permutations, start, at, roundDone);
    if (p && !observed.defined) p = kNaN;
    return p;
  };

  const FstTest all(data, used, tablePointers);
  LocusValues values;
  result.overall = all.Observed(&values);
  result.jackknifeSE = result.overall.defined ? JackknifeSE(values) : kNaN;
  for (std::size_t u = 0; u < used.size(); ++u) {
    std::vector<Real> hj;
    for (std::size_t l = 0; l < values.hw.size(); ++l) hj.push_back(values.hj[l * used.size() + u]);
    result.populations[result.used[u]].hj = MeanOverLoci(hj);
  }
  const auto p = pValue(all, result.overall, offset, [&](std::int64_t done) { return report(std::size_t(done)); });
  offset += all.Draws(permutations);
  std::vector<std::pair<std::size_t, std::size_t>> pairs;
  std::vector<std::uint64_t> offsets;
  for (std::size_t a = 1; a < used.size(); ++a) {
    for (std::size_t b = 0; b < a; ++b) {
      pairs.emplace_back(a, b);
      offsets.push_back(offset);
      offset += (used[a]->individuals.size() + used[b]->individuals.size() - 1) * std::uint64_t(permutations);
    }
  }
  random.Skip(offset);
  if (!p) {
    result.cancelled = true;
    return result;
  }
  result.p = *p;

  result.pairs.resize(pairs.size());
#pragma omp parallel for schedule(dynamic) if (permutations > 0 && pairs.size() > 1)
  for (std::size_t k = 0; k < pairs.size(); ++k) {
    if (stop) continue;
    const auto [a, b] = pairs[k];
    const FstTest pair(data, {used[b], used[a]}, {tablePointers[b], tablePointers[a]});
    PairFst& values = result.pairs[k];
    values.values = pair.Observed(nullptr);
    const bool reports = omp_get_thread_num() == 0;
    std::int64_t counted = 0;
    const auto roundDone = [&](std::int64_t done) {
      permutationsDone += std::size_t(done - counted);
      counted = done;
      return reports ? report(std::size_t(permutations) + permutationsDone) : !stop;
    };
    const auto pairP = pValue(pair, values.values, offsets[k], roundDone);
    if (pairP) values.p = *pairP;
    else stop = true;
  }
  if (stop) result.cancelled = true;
  return result;
}

}  // namespace vorn
