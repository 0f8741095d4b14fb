// Magnitudes of 80-bit reals as integer keys, and the largest magnitude of a row with the first
// column holding it: what the pivot search of the Jacobi rotations keeps for each row of B.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>

#include "core/conventions.h"

namespace vorn {

// |x| as an integer that orders magnitudes as the reals do: the biased exponent above the 64-bit
// significand of the extended format, whose leading bit is explicit (zero and subnormal numbers
// have exponent 0 and lie below every normal one). Equal magnitudes give equal keys, so the
// scans compare without the floating-point unit. The six bytes that pad a Real to 16 play no part.
static_assert(std::numeric_limits<Real>::digits == 64 && std::numeric_limits<Real>::max_exponent == 16384 &&
                  sizeof(Real) == 16,
              "Real is the 80-bit extended format, padded to 16 bytes");
using MagnitudeKey = unsigned __int128;
inline MagnitudeKey KeyOf(const Real& x) {
  std::uint64_t significand;
  std::uint16_t signAndExponent;
  std::memcpy(&significand, &x, sizeof significand);
  std::memcpy(&signAndExponent, reinterpret_cast<const char*>(&x) + sizeof significand, sizeof signAndExponent);
  return static_cast<MagnitudeKey>(signAndExponent & 0x7fff) << 64 | significand;
}

struct LargestMagnitude {
  MagnitudeKey key;
  std::size_t column;
};

// The largest key among row[from], ..., row[to - 1] (from < to) and the first column holding it,
// as a scan in column order with strict comparison finds them. Four columns at a time where the
// processor has 512-bit vectors.
LargestMagnitude LargestMagnitudeOf(const Real* row, std::size_t from, std::size_t to);

}  // namespace vorn
