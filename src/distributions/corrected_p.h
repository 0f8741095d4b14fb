// p-values corrected for a family of tests: Holm's (1979) step-down family-wise error rate and
// Benjamini & Hochberg's (1995) step-up false discovery rate, as R's p.adjust computes them. The
// family is the defined values: a NaN entry (a test that could not be made) stays NaN and does
// not count in the family size.
#pragma once

#include <cstddef>
#include <vector>

#include "core/conventions.h"

namespace vorn {

// The number of defined (non-NaN) values: the family size m of the corrections.
std::size_t FamilySize(const std::vector<Real>& p);

// Holm: with p(1) <= ... <= p(m), p~(i) = max over j <= i of min(1, (m - j + 1) p(j)).
std::vector<Real> HolmCorrected(const std::vector<Real>& p);

// Benjamini-Hochberg: p~(i) = min over j >= i of min(1, m p(j) / j).
std::vector<Real> BenjaminiHochbergCorrected(const std::vector<Real>& p);

}  // namespace vorn
