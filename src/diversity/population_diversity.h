// The diversity of each population of one level, from its band tally (missing scores left out):
// band counts (all, common, private, locally common), the shares of polymorphic loci, expected
// heterozygosity from the square-root allele frequencies with its unbiased form, and Lynch &
// Milligan's (1994) estimate, which corrects the square root's bias and leaves out loci whose
// band-absent phenotype is too rare to estimate. Means carry their standard error over loci.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "core/conventions.h"
#include "core/data_matrix.h"
#include "groups/group_members.h"

namespace vorn {

// Lynch & Milligan use a locus in a population when more than 3 of its scored individuals lack
// the band (a null-homozygote frequency above 3/n).
inline constexpr Real kLynchMilliganAbsences = 3;

struct MeanWithError {
  Real mean = 0;
  Real standardError = 0;  // √(Σ (x − mean)² / (L (L − 1))); not a number below two loci
  std::size_t loci = 0;
};

// The mean of values (one per locus, in locus order) with its standard error.
MeanWithError MeanOverLoci(const std::vector<Real>& values);

// The counts of bands compared across the populations; absent for the whole data set's row.
struct SharedBands {
  std::size_t privateBands = 0;        // present here and in no other population
  std::size_t locallyCommon25 = 0;     // frequency ≥ 5 % here, present in ≤ 25 % of the populations
  std::size_t locallyCommon50 = 0;     // likewise in ≤ 50 %
};

struct DiversityRow {
  std::string name;
  std::size_t individuals = 0;
  std::size_t lociWithoutScores = 0;  // every score of the population missing: left out
  std::size_t bands = 0;              // loci with the band present at least once
  std::size_t commonBands = 0;        // band frequency ≥ 5 %
  std::optional<SharedBands> shared;
  Real polymorphic = 0;           // % of the loci with 0 < f < 1
  Real polymorphic5 = 0;          // % of the loci with 0.05 ≤ q ≤ 0.95 (square-root q)
  MeanWithError he, uhe;          // 2pq and 2n / (2n − 1) · 2pq
  MeanWithError lynchMilligan;    // Hj over the loci kept by the rule
  std::size_t lynchMilliganLeftOut = 0;
};

// A null allele's estimated frequency with the sampling variance of the estimate.
struct NullAlleleEstimate {
  Real q = 0;
  Real variance = 0;
};

// Lynch & Milligan's bias-corrected estimate from x, the share of absences among n scored
// individuals: q = √x / (1 − Var(x) / (8 x²)), Var(x) = x (1 − x) / n, Var(q) = (1 − x) / (4 n).
NullAlleleEstimate LynchMilliganNullAllele(Real x, Real n);

// The expected heterozygosity of one locus by Lynch & Milligan from x, the share of absences
// among n scored individuals: Hj = 2 q (1 − q) + 2 Var(q), q = √x / (1 − Var(x) / (8 x²)),
// Var(x) = x (1 − x) / n, Var(q) = (1 − x) / (4 n).
Real LynchMilliganHj(Real x, Real n);

// One row per population (at least one), then the row of every individual of data, named
// wholeName. A locus enters Lynch & Milligan's mean of a row when more than `absences` of its
// scored individuals lack the band.
std::vector<DiversityRow> PopulationDiversity(const DataMatrix& data, const std::vector<PopulationMembers>& populations,
                                              const std::string& wholeName, Real absences);

}  // namespace vorn
