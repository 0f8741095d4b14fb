#include "ordination/magnitude_key.h"

#include <immintrin.h>

#include <limits>

namespace vorn {
namespace {

template <class Slots>
LargestMagnitude PlainLargest(const RealSlot* row, std::size_t from, std::size_t to) {
  LargestMagnitude largest{KeyOf<Slots>(row[from]), from};
  for (std::size_t m = from + 1; m < to; ++m) {
    const MagnitudeKey key = KeyOf<Slots>(row[m]);
    if (key > largest.key) largest = {key, m};
  }
  return largest;
}

// Four columns per vector, each as two 64-bit lanes: the key's low word, then its high word (for
// the extended format the significand, then the exponent with sign and padding masked off). Each column slot of four vectors keeps its own largest and first
// column with strict comparison (four vectors, so that their comparisons overlap); the slots are
// then merged, the smaller column winning a tie.
struct VectorLargestSlots {
  __m512i keys, columns;
};

template <class Slots>
[[gnu::target("avx512f,avx512dq")]] inline __m512i KeysAt(const RealSlot* columns) {
  const __m512i slots = _mm512_loadu_si512(columns);
  if constexpr (std::is_same_v<Slots, ExtendedSlots>) {
    return _mm512_and_si512(slots, _mm512_set_epi64(0x7fff, -1, 0x7fff, -1, 0x7fff, -1, 0x7fff, -1));
  } else {
    // SplitKeyOf in every column: the two doubles trade lanes, the low lane gets the rest.
    constexpr __mmask8 kRestLanes = 0x55;
    const __m512i sign = _mm512_set1_epi64(static_cast<long long>(std::uint64_t{1} << 63));
    const __m512i swapped = _mm512_shuffle_epi32(slots, _MM_PERM_BADC);
    const __m512i magnitudes = _mm512_andnot_si512(sign, swapped);
    const __mmask8 negativeRest = _kand_mask8(_mm512_movepi64_mask(_mm512_xor_si512(slots, swapped)), kRestLanes);
    const __m512i keys = _mm512_mask_sub_epi64(magnitudes, negativeRest, _mm512_setzero_si512(), magnitudes);
    return _mm512_mask_xor_epi64(keys, kRestLanes, keys, sign);
  }
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

template <class Slots>
[[gnu::target("avx512f,avx512dq")]] LargestMagnitude VectorLargest(const RealSlot* row, std::size_t from, std::size_t to) {
  constexpr std::size_t kSlots = 4;  // vectors of four columns
  const __m512i firstColumns = _mm512_add_epi64(_mm512_set1_epi64(static_cast<long long>(from)),
                                                _mm512_set_epi64(3, 3, 2, 2, 1, 1, 0, 0));
  VectorLargestSlots slots[kSlots];
  for (std::size_t v = 0; v < kSlots; ++v) {
    const __m512i columns = _mm512_add_epi64(firstColumns, _mm512_set1_epi64(static_cast<long long>(4 * v)));
    slots[v] = {KeysAt<Slots>(row + from + 4 * v), columns};
  }
  const __m512i step = _mm512_set1_epi64(4 * kSlots);
  __m512i columns = firstColumns;
  std::size_t m = from + 4 * kSlots;
  for (; m + 4 * kSlots <= to; m += 4 * kSlots) {
    columns = _mm512_add_epi64(columns, step);
    for (std::size_t v = 0; v < kSlots; ++v) {
      const __m512i slotColumns = _mm512_add_epi64(columns, _mm512_set1_epi64(static_cast<long long>(4 * v)));
      TakeLarger(slots[v], KeysAt<Slots>(row + m + 4 * v), slotColumns);
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
    const LargestMagnitude rest = PlainLargest<Slots>(row, m, to);
    if (rest.key > largest.key) largest = rest;
  }
  return largest;
}

const bool kHasVectors =
    (__builtin_cpu_init(), __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512dq"));

}  // namespace

template <class Slots>
LargestMagnitude LargestMagnitudeOf(const RealSlot* row, std::size_t from, std::size_t to) {
  return kHasVectors && to - from >= 32 ? VectorLargest<Slots>(row, from, to) : PlainLargest<Slots>(row, from, to);
}

template LargestMagnitude LargestMagnitudeOf<ExtendedSlots>(const RealSlot*, std::size_t, std::size_t);
template LargestMagnitude LargestMagnitudeOf<SplitSlots>(const RealSlot*, std::size_t, std::size_t);

}  // namespace vorn
