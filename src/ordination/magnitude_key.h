// Magnitudes of 80-bit reals as integer keys, and the largest magnitude of a row with the first
// column holding it: what the pivot search of the Jacobi rotations keeps for each row of B. Both
// slot formats have keys of their own; keys of one format order magnitudes as the reals do.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#include <type_traits>

#include "core/conventions.h"
#include "ordination/real_slot.h"

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

// A split slot's key: the nearest double's magnitude above the rest, the rest counted with the
// sign it has relative to that double, in offset binary so that -0 and +0 count alike. Rounding to the
// nearest never reverses an order, so a larger nearest double means a larger magnitude.
inline MagnitudeKey SplitKeyOf(const RealSlot& x) {
  constexpr std::uint64_t kSign = std::uint64_t{1} << 63;
  std::uint64_t high, low;
  std::memcpy(&high, &x.split.high, sizeof high);
  std::memcpy(&low, &x.split.low, sizeof low);
  // Negated without a branch: the relative sign is as often one way as the other.
  const std::uint64_t negative = static_cast<std::uint64_t>(static_cast<std::int64_t>(high ^ low) >> 63);
  const std::uint64_t rest = (((low & ~kSign) ^ negative) - negative) ^ kSign;
  return static_cast<MagnitudeKey>(high & ~kSign) << 64 | rest;
}

template <class Slots>
MagnitudeKey KeyOf(const RealSlot& x) {
  if constexpr (std::is_same_v<Slots, SplitSlots>) return SplitKeyOf(x);
  else return KeyOf(x.extended);
}

struct LargestMagnitude {
  MagnitudeKey key;
  std::size_t column;
};

// The largest key among row[from], ..., row[to - 1] (from < to) and the first column holding it,
// as a scan in column order with strict comparison finds them. Four columns at a time where the
// processor has 512-bit vectors, two where it has AVX2. Slots is ExtendedSlots or SplitSlots.
template <class Slots>
LargestMagnitude LargestMagnitudeOf(const RealSlot* row, std::size_t from, std::size_t to);

}  // namespace vorn
