#include "diversity/population_diversity.h"

#include <cmath>
#include <limits>

#include "diversity/band_tally.h"

namespace vorn {
namespace {

constexpr Real kCommon = 0.05L;

// Sums of the values of one mean, kept in the order of the loci.
class MeanOfLoci {
 public:
  void Add(Real x) { values_.push_back(x); }
  MeanWithError Result() const { return MeanOverLoci(values_); }

 private:
  std::vector<Real> values_;
};

Real Percent(std::size_t count, std::size_t of) {
  return of == 0 ? std::numeric_limits<Real>::quiet_NaN() : Real(count) * 100 / Real(of);
}

DiversityRow RowOf(const std::string& name, std::size_t individuals, const BandTally& tally, Real absences) {
  DiversityRow row;
  row.name = name;
  row.individuals = individuals;
  std::size_t scoredLoci = 0, polymorphic = 0, polymorphic5 = 0;
  MeanOfLoci he, uhe, hj;
  for (std::size_t l = 0; l < tally.Loci(); ++l) {
    const std::uint32_t n = tally.scored[l];
    if (n == 0) {
      ++row.lociWithoutScores;
      continue;
    }
    ++scoredLoci;
    const Real f = tally.BandFrequency(l);
    const Real q = tally.NullAllele(l);
    row.bands += tally.present[l] > 0;
    row.commonBands += f >= kCommon;
    polymorphic += f > 0 && f < 1;
    polymorphic5 += q >= kCommon && q <= 1 - kCommon;
    const Real diversity = 2 * q * (1 - q);
    he.Add(diversity);
    uhe.Add(diversity * 2 * n / (2 * Real(n) - 1));
    if (Real(n - tally.present[l]) > absences) {
      hj.Add(LynchMilliganHj(Real(n - tally.present[l]) / Real(n), Real(n)));
    } else {
      ++row.lynchMilliganLeftOut;
    }
  }
  row.polymorphic = Percent(polymorphic, scoredLoci);
  row.polymorphic5 = Percent(polymorphic5, scoredLoci);
  row.he = he.Result();
  row.uhe = uhe.Result();
  row.lynchMilligan = hj.Result();
  return row;
}

}  // namespace

MeanWithError MeanOverLoci(const std::vector<Real>& values) {
  MeanWithError result;
  result.loci = values.size();
  Real sum = 0;
  for (Real x : values) sum += x;
  const Real n = static_cast<Real>(values.size());
  result.mean = values.empty() ? std::numeric_limits<Real>::quiet_NaN() : sum / n;
  Real squares = 0;
  for (Real x : values) squares += (x - result.mean) * (x - result.mean);
  result.standardError = values.size() < 2 ? std::numeric_limits<Real>::quiet_NaN() : std::sqrt(squares / (n * (n - 1)));
  return result;
}

NullAlleleEstimate LynchMilliganNullAllele(Real x, Real n) {
  const Real varianceX = x * (1 - x) / n;
  return {std::sqrt(x) / (1 - varianceX / (8 * x * x)), (1 - x) / (4 * n)};
}

Real LynchMilliganHj(Real x, Real n) {
  const NullAlleleEstimate estimate = LynchMilliganNullAllele(x, n);
  return 2 * estimate.q * (1 - estimate.q) + 2 * estimate.variance;
}

std::vector<DiversityRow> PopulationDiversity(const DataMatrix& data, const std::vector<PopulationMembers>& populations,
                                              const std::string& wholeName, Real absences) {
  std::vector<BandTally> tallies;
  for (const auto& population : populations) tallies.push_back(TallyBands(data, population.individuals));
  // In how many populations each band is present.
  std::vector<std::size_t> presentIn(data.locusCount, 0);
  for (const auto& tally : tallies) {
    for (std::size_t l = 0; l < data.locusCount; ++l) presentIn[l] += tally.present[l] > 0;
  }
  const Real count = static_cast<Real>(populations.size());
  std::vector<DiversityRow> rows;
  for (std::size_t p = 0; p < populations.size(); ++p) {
    const BandTally& tally = tallies[p];
    DiversityRow row = RowOf(populations[p].name, populations[p].individuals.size(), tally, absences);
    SharedBands shared;
    for (std::size_t l = 0; l < data.locusCount; ++l) {
      if (tally.present[l] == 0) continue;
      shared.privateBands += presentIn[l] == 1;
      if (tally.BandFrequency(l) < kCommon) continue;
      shared.locallyCommon25 += Real(presentIn[l]) <= count / 4;
      shared.locallyCommon50 += Real(presentIn[l]) <= count / 2;
    }
    row.shared = shared;
    rows.push_back(std::move(row));
  }
  std::vector<std::uint32_t> everyone(data.individualCount);
  for (std::uint32_t i = 0; i < everyone.size(); ++i) everyone[i] = i;
  rows.push_back(RowOf(wholeName, everyone.size(), TallyBands(data, everyone), absences));
  return rows;
}

}  // namespace vorn
