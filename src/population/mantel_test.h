// The Mantel test (Mantel 1967): Pearson's r between two distance matrices over the pairs i < j,
// and its significance by permuting the rows and columns of the first matrix together:
// p = (permuted r >= observed r, + 1) / (permutations + 1), one-sided for a positive association.
//
// The observed r and the regression line are computed in Real. Permutations read the first
// matrix, centred, as a square of doubles and the second, centred a row at a time, from its
// triangle (so that the test holds one square beside the two triangles); only the sum of products
// changes under a permutation (the sums of squares do not), so a permuted r costs one sum over
// the pairs, and four permutations share each pass. A permuted r within 1e-10 of the observed one
// counts as a tie.
//
// The draws come from the program's generator as from one serial loop: permutation k is a
// Fisher-Yates shuffle of the n objects taking n - 1 NextBelow draws, starting at k (n - 1) draws
// from where the generator stood. Permutations run on all cores with the same p on any number of
// them; afterwards the generator stands where the serial loop would leave it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/conventions.h"
#include "core/progress.h"
#include "core/random_generator.h"
#include "core/result.h"

namespace vorn {

struct MantelResult {
  std::size_t pairs = 0;
  Real r = 0;
  std::int32_t permutations = 0;
  Real p = 0;          // 0 when permutations is 0 (no test)
  Real slope = 0;      // least-squares line of the first matrix on the second:
  Real intercept = 0;  // first = intercept + slope * second
};

// Both matrices over the same n objects as strict lower triangles ((i, j), i > j, at
// i (i - 1) / 2 + j); first is the one permuted. Fails with fewer than 3 objects, with a
// distance that is not a finite number, and when either matrix is constant (r undefined), naming
// it by firstName or secondName. progress is told the permutations done every few hundredths of
// a second; when it asks to stop, the test fails without message and the generator stands past
// the permutations done.
Result<MantelResult> MantelTest(const std::vector<Real>& first, const std::vector<Real>& second, std::size_t n,
                                const std::string& firstName, const std::string& secondName,
                                std::int32_t permutations, RandomGenerator& random, const StepProgress& progress = {});

}  // namespace vorn
