#include "amova/amova.h"

#include <cmath>
#include <string>
#include <vector>

#include "core/progress.h"
#include "groups/group_members.h"
#include "groups/group_model.h"
#include "similarity/average_similarity.h"
#include "similarity/coefficient_names.h"
#include "similarity/coefficients.h"
#include "similarity/distance_transformation.h"
#include "similarity/similarity_matrix.h"

namespace vorn {
namespace {

constexpr const char* kCannotRun = "The AMOVA cannot run: ";

Failure Refusal(const std::string& cause) { return Failure{kCannotRun + cause}; }

// Counts pair (i, j) when it has no distance: the mode compares nothing of it, or its distance
// is none (the transformation keeps a not-a-number and the Nei-Li -1 as they are).
void NoteUndefined(std::size_t i, std::size_t j, SimilarityMode mode, const PairCounts& counts, Real distance,
                   bool neiLi, UndefinedPairs& undefined) {
  if (ComparesNothing(mode, counts)) {
    undefined.Add(i, j, IncomparableCause(mode));
  } else if (const auto cause = EntryCause(distance, neiLi)) {
    undefined.Add(i, j, *cause);
  }
}

}  // namespace

Result<SquaredDistances> AmovaDistances(const DataMatrix& data, const SimilaritySettings& settings,
                                        std::int32_t drawCount, RandomGenerator& random) {
  if (!IsKnown(settings.coefficient)) return Failure{"Vorncore: SDist: Unknown distance coefficient"};
  if (!IsKnown(settings.transformation)) return Failure{"DistXF: Unknown option."};
  const bool average = settings.amovaSimilarity == SimilarityMode::Average;
  if (average) {
    if (auto checked = CheckDrawCount(drawCount); !checked) return Failure{checked.error()};
  }
  // Row by row, so that no matrix of coefficients is held beside the triangle: the coefficients
  // of row i (the Minimum and Maximum ones for the Average), then each pair's squared distance.
  // The Average draws pair after pair in the order of the entries, so its rows run in order on
  // one thread; other rows are independent and share the cores.
  MaskedFloatingPointExceptions masked;
  const PackedScores scores(data);
  const std::size_t n = data.individualCount;
  SquaredDistances squared(n);
  UndefinedPairs undefined;
  const bool parallel = !average && TriangleSize(n) * scores.WordCount() >= kParallelSimilarityWork;
#pragma omp parallel if (parallel)
  {
    UndefinedPairs undefinedHere;
    std::vector<PairCounts> counts(n);
    std::vector<Real> coefficients(n), maximum(average ? n : 0);
#pragma omp for schedule(dynamic, 8)
    for (std::size_t i = 1; i < n; ++i) {
      KeepResponsive();
      CountPairs(scores, i, scores, 0, i, counts.data());
      const SimilarityMode mode = average ? SimilarityMode::Minimum : settings.amovaSimilarity;
      CoefficientValues(settings.coefficient, mode, counts.data(), i, settings.neiLiR, coefficients.data());
      if (average) {
        CoefficientValues(settings.coefficient, SimilarityMode::Maximum, counts.data(), i, settings.neiLiR,
                          maximum.data());
        for (std::size_t j = 0; j < i; ++j) {
          coefficients[j] = AverageOfBounds(coefficients[j], maximum[j], settings.coefficient, drawCount, random).mean;
        }
      }
      for (std::size_t j = 0; j < i; ++j) {
        const Real distance = ApplyTransformation(coefficients[j], settings.transformation);
        // The Average is drawn from the Minimum: it compares nothing the Minimum does not.
        NoteUndefined(i, j, mode, counts[j], distance, settings.coefficient == SimilarityCoefficient::NeiLi, undefinedHere);
        squared.Set(SquaredDistances::PairIndex(i, j), distance * distance);
      }
    }
#pragma omp critical
    undefined.Merge(undefinedHere);
  }
  if (undefined.Any()) {
    return Refusal(UndefinedPairsClause(undefined, data.individualLabels) +
                   ". Choose another coefficient or remove the individuals concerned.");
  }
  return squared;
}

Real PairSum(const SquaredDistances& distances, const std::vector<std::uint32_t>& individuals) {
  Real sum = 0;
  for (std::size_t a = 1; a < individuals.size(); ++a) {
    for (std::size_t b = 0; b < a; ++b) sum += distances(individuals[a], individuals[b]);
  }
  return sum;
}

AmovaValues ComputeAmova(int levels, const AmovaLayout& layout, const AmovaSums& sums) {
  AmovaValues v;
  const Real n = static_cast<Real>(layout.individualTotal);
  const std::size_t populations = layout.populationSizes.size();
  const std::size_t regions = layout.regionPopulationCounts.size();
  Real sizeSum = 0, squareSum = 0, squareShareSum = 0, regionSquareSum = 0, withinSum = 0, regionSum = 0;
  Real withinRegions = 0;  // sum over regions of W_r minus their populations' within shares
  std::size_t p = 0;
  for (std::size_t r = 0; r < regions; ++r) {
    const std::size_t count = layout.regionPopulationCounts[r];
    Real regionSize = 0, regionSquares = 0, regionWithin = 0;
    for (std::size_t k = 0; k < count; ++k, ++p) {
      const Real size = static_cast<Real>(layout.populationSizes[p]);
      regionSize += size;
      regionSquares += size * size;
      regionWithin += sums.within[p] / size;
    }
    const Real w = sums.region[r] / regionSize;
    sizeSum += regionSize;
    squareSum += regionSquares;
    squareShareSum += regionSquares / regionSize;
    regionSquareSum += regionSize * regionSize;
    withinSum += regionWithin;
    regionSum += w;
    withinRegions += w - regionWithin;
  }
  const Real g = static_cast<Real>(regions);
  v.SSDT = sums.total / n;
  v.SSDWP = withinSum;
  v.SSDAG = v.SSDT - regionSum;
  v.N2Coef = (sizeSum - regionSquareSum / sizeSum) / (g - 1);
  v.DfT = static_cast<std::int32_t>(layout.individualTotal) - 1;
  v.DfWP = static_cast<std::int32_t>(layout.individualTotal - populations);
  v.DfAG = static_cast<std::int32_t>(regions) - 1;
  if (levels == 1) {
    v.Vb = v.SSDWP / v.DfWP;
    v.MSDAG = v.SSDAG / v.DfAG;
    v.Va = (v.MSDAG - v.Vb) / v.N2Coef;
    v.Vt = v.Va + v.Vb;
    v.PercentA = v.Va * 100 / v.Vt;
    v.PercentB = v.Vb * 100 / v.Vt;
    v.PhiST = v.Va / v.Vt;
    return v;
  }
  v.SSDAPWG = withinRegions;
  v.NCoef = (sizeSum - squareShareSum) / (static_cast<Real>(populations) - g);
  v.N1Coef = (squareShareSum - squareSum / sizeSum) / (g - 1);
  v.DfAPWG = static_cast<std::int32_t>(populations - regions);
  v.Vc = v.SSDWP / v.DfWP;
  v.MSDAPWG = v.SSDAPWG / v.DfAPWG;
  v.MSDAG = v.SSDAG / v.DfAG;
  v.Vb = (v.MSDAPWG - v.Vc) / v.NCoef;
  v.Va = (v.MSDAG - v.Vc - v.N1Coef * v.Vb) / v.N2Coef;
  v.Vt = v.Va + v.Vb + v.Vc;
  v.PercentA = v.Va * 100 / v.Vt;
  v.PercentB = v.Vb * 100 / v.Vt;
  v.PercentC = v.Vc * 100 / v.Vt;
  v.PhiST = (v.Va + v.Vb) / v.Vt;
  v.PhiRT = v.Va / v.Vt;
  v.PhiSR = v.Vb / (v.Vb + v.Vc);
  return v;
}

Status TAMOVA::SetHierarchy(const DataMatrix& data, const GroupList& groups, int levels) {
  if (levels != 1 && levels != 2) return Failure{"A maximum of 2 levels of hierarchy are supported by the AMOVA"};
  std::vector<std::vector<AmovaPopulation>> hierarchy;
  const auto population = [&](std::size_t index) -> Result<AmovaPopulation> {
    auto members = MembersOf(data.individualLabels, groups, index);
    if (!members) return Refusal(members.error());
    if (members->individuals.empty()) return Refusal("the population " + groups[index].name + " has no members.");
    return AmovaPopulation{static_cast<std::uint16_t>(members->individuals.size()), static_cast<std::uint16_t>(index),
                           std::move(members->individuals)};
  };
  for (std::size_t g = 1; g < groups.size(); ++g) {
    if (Depth(groups[g].name) != 2) continue;
    auto& region = hierarchy.emplace_back();
    if (levels == 1) {
      auto single = population(g);
      if (!single) return Failure{single.error()};
      region.push_back(std::move(*single));
    } else {
      const std::string prefix = groups[g].name + "/";
      for (std::size_t p = 1; p < groups.size(); ++p) {
        if (Depth(groups[p].name) != 3 || groups[p].name.compare(0, prefix.size(), prefix) != 0) continue;
        auto member = population(p);
        if (!member) return Failure{member.error()};
        region.push_back(std::move(*member));
      }
      if (region.empty()) return Refusal("the region " + groups[g].name + " holds no populations (no group below it).");
    }
  }
  return Adopt(std::move(hierarchy), data.individualCount, data.locusCount, levels);
}

Status TAMOVA::SetPopulations(std::vector<AmovaPopulation> populations, std::size_t locusCount) {
  std::vector<std::vector<AmovaPopulation>> hierarchy;
  for (auto& population : populations) hierarchy.push_back({std::move(population)});
  return Adopt(std::move(hierarchy), IndividualTotal, locusCount, 1);
}

Status TAMOVA::Adopt(std::vector<std::vector<AmovaPopulation>> hierarchy, std::size_t individualTotal,
                     std::size_t locusCount, int levels) {
  std::size_t populations = 0;
  for (const auto& region : hierarchy) populations += region.size();
  const std::size_t regions = hierarchy.size();
  if (levels == 2 && regions < 2) {
    return Refusal("a two-level analysis needs at least two regions (groups with populations below them); there " +
                   std::string(regions == 1 ? "is one." : "are none."));
  }
  if (levels == 2 && populations == regions) {
    return Refusal("each region holds a single population, so there is nothing among populations within regions.");
  }
  if (levels == 1 && populations < 2) {
    return Refusal("it needs at least two populations; there " + std::string(populations == 1 ? "is one." : "are none."));
  }
  if (individualTotal <= populations) {
    return Refusal("there are as many populations as individuals, so nothing can vary within populations.");
  }
  Hierarchy = std::move(hierarchy);
  IndividualTotal = static_cast<std::uint16_t>(individualTotal);
  GroupCount = static_cast<std::uint16_t>(regions);
  LocusMask.assign(locusCount, 1);
  levels_ = levels;
  return Success();
}

AmovaLayout TAMOVA::Layout() const {
  AmovaLayout layout;
  layout.individualTotal = IndividualTotal;
  for (const auto& region : Hierarchy) {
    layout.regionPopulationCounts.push_back(region.size());
    for (const auto& population : region) layout.populationSizes.push_back(population.size);
  }
  return layout;
}

void TAMOVA::Calculate(const SquaredDistances& distances) {
  AmovaSums sums;
  std::vector<std::uint32_t> everyone(IndividualTotal);
  for (std::uint32_t i = 0; i < everyone.size(); ++i) everyone[i] = i;
  sums.total = PairSum(distances, everyone);
  for (const auto& region : Hierarchy) {
    std::vector<std::uint32_t> members;
    for (const auto& population : region) {
      sums.within.push_back(PairSum(distances, population.individuals));
      members.insert(members.end(), population.individuals.begin(), population.individuals.end());
    }
    sums.region.push_back(levels_ == 1 ? sums.within.back() : PairSum(distances, members));
  }
  static_cast<AmovaValues&>(*this) = ComputeAmova(levels_, Layout(), sums);
}


Status TAMOVA::CheckDefined() const {
  if (Vt == 0) {
    return Refusal("the variance components add up to 0 (no variation among the individuals), so their shares "
                   "and the Phi statistics are undefined.");
  }
  if (levels_ == 2 && Vb + Vc == 0) {
    return Refusal("there is no variance within regions (Vb + Vc = 0), so PhiSR is undefined.");
  }
  for (Real value : {SSDT, SSDWP, SSDAPWG, SSDAG, Va, Vb, Vc, Vt, PhiST, PhiRT, PhiSR}) {
    if (!std::isfinite(value)) return Refusal("a result is not a finite number.");
  }
  return Success();
}

}  // namespace vorn
