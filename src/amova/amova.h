// Analysis of molecular variance over one or two levels of the group hierarchy: the sums of
// squared pair distances within populations, within regions and over all individuals, the
// variance components they give and the Phi statistics.
//
// Populations and regions come from the group list: in a two-level run each group of depth 2 is
// a region holding its depth-3 sub-groups as populations; in a one-level run each depth-2 group
// is a population and its own region. The squared distances of every pair of individuals are
// computed once into one triangle, and every sum is taken from it, serially in extended precision,
// so the numbers do not depend on the number of cores and the components add up to SSD(T).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/data_matrix.h"
#include "core/group_lists.h"
#include "core/random_generator.h"
#include "core/result.h"
#include "core/settings.h"
#include "core/split_reals.h"

namespace vorn {

// The squared distance of every pair (i, j), i > j, of the working individuals, row by row:
// (i, j) at i (i - 1) / 2 + j. A pair of an individual with itself is 0.
//
// Each value is kept in 10 bytes (SplitReals), so that the triangle of 20000 individuals fits in
// 2 GB, and every sum taken from it is the one the extended values give; the permutation test
// sums the nearest doubles.
class SquaredDistances {
 public:
  SquaredDistances() = default;
  explicit SquaredDistances(std::size_t n) : n_(n), values_(PairCount(n)) {}

  static std::size_t PairCount(std::size_t n) { return n * (n - (n > 0)) / 2; }
  static std::size_t PairIndex(std::size_t i, std::size_t j) { return i > j ? i * (i - 1) / 2 + j : j * (j - 1) / 2 + i; }

  std::size_t Size() const { return n_; }
  // Stores the value of the pair at index; distinct indices may be stored from several threads.
  void Set(std::size_t index, Real value) { values_.Set(index, value); }
  Real At(std::size_t index) const { return values_.At(index); }
  Real operator()(std::size_t i, std::size_t j) const { return i == j ? 0 : At(PairIndex(i, j)); }
  // Every pair's value rounded to the nearest double, in pair order.
  const double* Nearest() const { return values_.Nearest(); }

 private:
  std::size_t n_ = 0;
  SplitReals values_;
};

// The squared pair distances of the working matrix under the coefficient, the AMOVA's similarity
// choice and the transformation. The Average choice draws each pair once, from the generator,
// pair after pair in the order of the entries (rows i = 2 .. N, in each j = 1 .. i - 1), with
// drawCount draws per pair whose bounds differ. Fails when a pair's distance is undefined (the
// Nei-Li -1, or not a number), naming how many pairs are, and as the coefficient routines fail.
Result<SquaredDistances> AmovaDistances(const DataMatrix& data, const SimilaritySettings& settings,
                                        std::int32_t drawCount, RandomGenerator& random);

// One population: its entry in the group list and the individuals of the working matrix it holds
// (ascending), whose number is its size.
struct AmovaPopulation {
  std::uint16_t size = 0;
  std::uint16_t groupIndex = 0;
  std::vector<std::uint32_t> individuals;
};

// The sizes an AMOVA needs, populations listed region by region.
struct AmovaLayout {
  std::size_t individualTotal = 0;                 // N, every working individual
  std::vector<std::size_t> populationSizes;        // n_p
  std::vector<std::size_t> regionPopulationCounts; // populations of each region, in order
};

// Sums over the unordered pairs of squared distances (half the sums over ordered pairs).
struct AmovaSums {
  Real total = 0;             // all N individuals
  std::vector<Real> within;   // each population's members
  std::vector<Real> region;   // all members of each region's populations (one level: = within)
};

// The results of one AMOVA; every value starts at 0.
struct AmovaValues {
  Real SSDT = 0, SSDWP = 0, SSDAPWG = 0, SSDAG = 0;
  Real NCoef = 0, N1Coef = 0, N2Coef = 0;
  std::int32_t DfT = 0, DfWP = 0, DfAPWG = 0, DfAG = 0;
  Real MSDAG = 0, MSDAPWG = 0;
  Real Va = 0, Vb = 0, Vc = 0, Vt = 0;
  Real PercentA = 0, PercentB = 0, PercentC = 0;
  Real PhiST = 0, PhiRT = 0, PhiSR = 0;
};

// Every value of a one-level (levels 1) or two-level (levels 2) AMOVA from the sizes and the sums,
// as the arithmetic gives it (a zero denominator gives inf or nan; CheckDefined tells).
AmovaValues ComputeAmova(int levels, const AmovaLayout& layout, const AmovaSums& sums);

// One AMOVA run over the working matrix.
class TAMOVA : public AmovaValues {
 public:
  explicit TAMOVA(std::uint16_t individualTotal) : IndividualTotal(individualTotal) {}

  // Builds the regions and their populations from the groups (levels 1 or 2), each population
  // holding the working individuals whose labels it lists. Fails, changing nothing, for other
  // levels, for a member that is no individual of the data (named), and for a hierarchy the
  // AMOVA cannot divide by: an empty population, a region without populations, fewer than two
  // regions (two levels) or populations (one level), as many populations as regions, or as many
  // populations as individuals.
  Status SetHierarchy(const DataMatrix& data, const GroupList& groups, int levels);
  // A one-level hierarchy of the given populations (none empty) of the IndividualTotal
  // individuals the distances cover, each its own region; refused as SetHierarchy refuses.
  Status SetPopulations(std::vector<AmovaPopulation> populations, std::size_t locusCount);

  // The sums of the hierarchy from the squared distances, then every value of the run's levels.
  void Calculate(const SquaredDistances& distances);

  // Fails, naming the cause, when a result is undefined: a total variance of 0, or (two levels)
  // no variance within regions, which PhiSR divides by.
  Status CheckDefined() const;

  AmovaLayout Layout() const;
  int Levels() const { return levels_; }

  std::uint16_t IndividualTotal;
  std::uint16_t GroupCount = 0;
  std::vector<std::vector<AmovaPopulation>> Hierarchy;
  std::vector<std::uint8_t> LocusMask;  // every working locus: the working matrix holds the active locus set

 private:
  // Takes the hierarchy when the AMOVA can divide by its sizes.
  Status Adopt(std::vector<std::vector<AmovaPopulation>> hierarchy, std::size_t individualTotal,
               std::size_t locusCount, int levels);

  int levels_ = 0;
};

// Sum over the unordered pairs of the listed individuals (list order, each with those before it).
Real PairSum(const SquaredDistances& distances, const std::vector<std::uint32_t>& individuals);

}  // namespace vorn
