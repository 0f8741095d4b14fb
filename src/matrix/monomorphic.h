// The monomorphic-locus rule. A locus is monomorphic in presences when it has no absence and at
// least as many presences as missing scores, in absences when it has no presence and at least
// as many absences as missing scores. Missing scores thus count against monomorphism, and a
// locus scored missing everywhere is not monomorphic.
#pragma once

#include <cstdint>

#include "core/data_matrix.h"
#include "core/result.h"
#include "matrix/band_counts.h"
#include "matrix/removal_filters.h"

namespace vorn {

// Which kinds of monomorphic loci a removal takes; combine with |.
enum class MonomorphicKinds : std::uint8_t { None = 0, Absences = 1, Presences = 2, Both = 3 };

constexpr MonomorphicKinds operator|(MonomorphicKinds a, MonomorphicKinds b) {
  return static_cast<MonomorphicKinds>(static_cast<std::uint8_t>(a) | static_cast<std::uint8_t>(b));
}

bool IsMonomorphic(const BandCounts& counts, MonomorphicKinds kinds = MonomorphicKinds::Both);

// True as soon as one locus is monomorphic of either kind; fails with kDataMatrixError when a
// locus before it holds a code other than 0, 1, 9.
Result<bool> HasMonomorphicLoci(const DataMatrix& matrix);

// Removes the monomorphic loci of the given kinds (none with MonomorphicKinds::None).
Result<Removal> RemoveMonomorphicLoci(const DataMatrix& matrix, MonomorphicKinds kinds);

}  // namespace vorn
