#include "ordination/magnitude_key.h"

#include <immintrin.h>

#include <limits>

namespace vorn {
namespace {

LargestMagnitude PlainLargest(const Real* row, std::size_t from, std::size_t to) {
  LargestMagnitude largest{KeyOf(row[from]), from};
  for (std::size_t m = from + 1; m < to; ++m) {
    const MagnitudeKey key = KeyOf(row[m]);
    if (key > largest.key) largest = {key, m};
  }
  return largest;
}

// Four columns per vector, each as two 64-bit lanes: the significand, then the exponent (sign
// and padding masked off). Each column slot of four vectors keeps its own largest and first
// column with strict comparison (four vectors, so that their comparisons overlap); the slots are
// then merged, the smaller column winning a tie.
struct VectorLargestSlots {
  __m512i keys, columns;
};

[[gnu::target("avx512f")]] inline __m512i KeysAt(const Real* columns, __m512i exponentMask) {
  return _mm512_and_si512(_mm512_loadu_si512(columns), exponentMask);
}

// Takes each column of keys into its slot when larger than the slot's.
[[gnu::target("avx512f,avx512dq")]] inline void TakeLarger(VectorLargestSlots& slots, __m512i keys, __m512i columns) {
  const __mmask8 greater = _mm512_cmpgt_epu64_mask(keys, slots.keys);
  const __mmask8 equal = _mm512_cmpeq_epu64_mask(keys, slots.keys);
  // Per column: a larger exponent, or the same exponent and a larger significand.
  const __mmask8 larger = _kand_mask8(_kor_mask8(greater, _kand_mask8(equal, _kshiftli_mask8(greater, 1))), 0xaa);
  const __mmask8 take = _kor_mask8(larger, _kshiftri_mask8(larger, 1));
  slots.keys = _mm512_mask_mov_epi64(slots.keys, take, keys);
  slots.columns = _mm512_mask_mov_epi64(slots.columns, take, columns);
}

[[gnu::target("avx512f,avx512dq")]] LargestMagnitude VectorLargest(const Real* row, std::size_t from, std::size_t to) {
  constexpr std::size_t kSlots = 4;  // vectors of four columns
  const __m512i exponentMask = _mm512_set_epi64(0x7fff, -1, 0x7fff, -1, 0x7fff, -1, 0x7fff, -1);
  const __m512i firstColumns = _mm512_add_epi64(_mm512_set1_epi64(static_cast<long long>(from)),
                                                _mm512_set_epi64(3, 3, 2, 2, 1, 1, 0, 0));
  VectorLargestSlots slots[kSlots];
  for (std::size_t v = 0; v < kSlots; ++v) {
    const __m512i columns = _mm512_add_epi64(firstColumns, _mm512_set1_epi64(static_cast<long long>(4 * v)));
    slots[v] = {KeysAt(row + from + 4 * v, exponentMask), columns};
  }
  const __m512i step = _mm512_set1_epi64(4 * kSlots);
  __m512i columns = firstColumns;
  std::size_t m = from + 4 * kSlots;
  for (; m + 4 * kSlots <= to; m += 4 * kSlots) {
    columns = _mm512_add_epi64(columns, step);
    for (std::size_t v = 0; v < kSlots; ++v) {
      const __m512i slotColumns = _mm512_add_epi64(columns, _mm512_set1_epi64(static_cast<long long>(4 * v)));
      TakeLarger(slots[v], KeysAt(row + m + 4 * v, exponentMask), slotColumns);
    }
  }
  LargestMagnitude largest{0, std::numeric_limits<std::size_t>::max()};  // any column takes its place
  for (const VectorLargestSlots& slot : slots) {
    alignas(64) std::uint64_t keys[8], columnsOf[8];
    _mm512_store_si512(keys, slot.keys);
    _mm512_store_si512(columnsOf, slot.columns);
    for (int c = 0; c < 4; ++c) {
      const MagnitudeKey key = static_cast<MagnitudeKey>(keys[2 * c + 1]) << 64 | keys[2 * c];
      if (key > largest.key || (key == largest.key && columnsOf[2 * c] < largest.column)) {
        largest = {key, columnsOf[2 * c]};
      }
    }
  }
  if (m < to) {
    const LargestMagnitude rest = PlainLargest(row, m, to);
    if (rest.key > largest.key) largest = rest;
  }
  return largest;
}

const bool kHasVectors =
    (__builtin_cpu_init(), __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512dq"));

}  // namespace

LargestMagnitude LargestMagnitudeOf(const Real* row, std::size_t from, std::size_t to) {
  return kHasVectors && to - from >= 32 ? VectorLargest(row, from, to) : PlainLargest(row, from, to);
}

}  // namespace vorn
