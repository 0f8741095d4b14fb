// Band frequencies of loci and of individuals. Missing scores count as non-presences: they add
// nothing to a count but stay in the divisor. A cell code other than 0, 1, 9 fails the whole
// routine, so no caller ever lists a half-filled array. With nothing to divide by (no
// presences in the matrix, or an empty dimension) every frequency is 0.
#pragma once

#include <vector>

#include "core/conventions.h"
#include "core/data_matrix.h"
#include "core/result.h"
#include "core/settings.h"

namespace vorn {

inline constexpr const char* kLocusFrequencyError = "Frequencies: Data Matrix Error";
inline constexpr const char* kIndividualFrequencyError = "Frequencies (indiv): Data Matrix Error";

// p(l) = presences at l / T, one per locus. T is the number of presences in the whole matrix
// (RelativeToAllPresences, so the frequencies sum to 1) or N (PerIndividual).
Result<std::vector<Real>> LocusBandFrequencies(const DataMatrix& matrix, FrequencyBasis basis);

// f(i) = presences of i / L, one per individual.
Result<std::vector<Real>> IndividualBandFrequencies(const DataMatrix& matrix);

}  // namespace vorn
