#include "ordination/magnitude_key.h"

#include <immintrin.h>

#include <limits>

#include "core/kernel_paths.h"

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

// The largest of the vector scans' slots (each column's key as its low word, then its high
// word, in keys and its column twice in columns), the smaller column winning a tie, and of the
// columns m .. to - 1 they left.
template <class Slots>
LargestMagnitude Merged(const std::uint64_t* keys, const std::uint64_t* columns, std::size_t slotCount,
                        const RealSlot* row, std::size_t m, std::size_t to) {
  LargestMagnitude largest{0, std::numeric_limits<std::size_t>::max()};  // any column takes its place
  for (std::size_t c = 0; c < slotCount; ++c) {
    const MagnitudeKey key = static_cast<MagnitudeKey>(keys[2 * c + 1]) << 64 | keys[2 * c];
    if (key > largest.key || (key == largest.key && columns[2 * c] < largest.column)) largest = {key, columns[2 * c]};
  }
  if (m < to) {
    const LargestMagnitude rest = PlainLargest<Slots>(row, m, to);
    if (rest.key > largest.key) largest = rest;
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
  alignas(64) std::uint64_t keys[kSlots][8], columnsOf[kSlots][8];
  for (std::size_t v = 0; v < kSlots; ++v) {
    _mm512_store_si512(keys[v], slots[v].keys);
    _mm512_store_si512(columnsOf[v], slots[v].columns);
  }
  return Merged<Slots>(keys[0], columnsOf[0], 4 * kSlots, row, m, to);
}

// The same two columns per 256-bit vector, for processors without 512-bit ones. The keys are
// compared as signed lanes, so each lane is kept with its top bit flipped.
template <class Slots>
[[gnu::target("avx2")]] inline __m256i BiasedKeysAt(const RealSlot* columns) {
  const __m256i slots = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(columns));
  const __m256i sign = _mm256_set1_epi64x(static_cast<long long>(std::uint64_t{1} << 63));
  if constexpr (std::is_same_v<Slots, ExtendedSlots>) {
    return _mm256_xor_si256(_mm256_and_si256(slots, _mm256_set_epi64x(0x7fff, -1, 0x7fff, -1)), sign);
  } else {
    // SplitKeyOf in both columns: the two doubles trade lanes, the low lane gets the rest, whose
    // bias and offset cancel.
    const __m256i restLanes = _mm256_set_epi64x(0, -1, 0, -1);
    const __m256i swapped = _mm256_shuffle_epi32(slots, _MM_SHUFFLE(1, 0, 3, 2));
    const __m256i magnitudes = _mm256_andnot_si256(sign, swapped);
    const __m256i negativeRest = _mm256_and_si256(
        _mm256_cmpgt_epi64(_mm256_setzero_si256(), _mm256_xor_si256(slots, swapped)), restLanes);
    const __m256i keys = _mm256_sub_epi64(_mm256_xor_si256(magnitudes, negativeRest), negativeRest);
    return _mm256_xor_si256(keys, _mm256_andnot_si256(restLanes, sign));
  }
}

struct Avx2LargestSlots {
  __m256i keys, columns;
};

// Takes each column of keys into its slot when larger than the slot's.
[[gnu::target("avx2")]] inline void TakeLarger(Avx2LargestSlots& slots, __m256i keys, __m256i columns) {
  const __m256i greater = _mm256_cmpgt_epi64(keys, slots.keys);
  const __m256i equal = _mm256_cmpeq_epi64(keys, slots.keys);
  // In each column's high lane: a larger high word, or the same and a larger low word; then in both.
  const __m256i larger = _mm256_or_si256(greater, _mm256_and_si256(equal, _mm256_bslli_epi128(greater, 8)));
  const __m256i take = _mm256_shuffle_epi32(larger, _MM_SHUFFLE(3, 2, 3, 2));
  slots.keys = _mm256_blendv_epi8(slots.keys, keys, take);
  slots.columns = _mm256_blendv_epi8(slots.columns, columns, take);
}

template <class Slots>
[[gnu::target("avx2")]] LargestMagnitude Avx2Largest(const RealSlot* row, std::size_t from, std::size_t to) {
  constexpr std::size_t kSlots = 4;  // vectors of two columns
  const __m256i firstColumns = _mm256_add_epi64(_mm256_set1_epi64x(static_cast<long long>(from)),
                                                _mm256_set_epi64x(1, 1, 0, 0));
  Avx2LargestSlots slots[kSlots];
  for (std::size_t v = 0; v < kSlots; ++v) {
    const __m256i columns = _mm256_add_epi64(firstColumns, _mm256_set1_epi64x(static_cast<long long>(2 * v)));
    slots[v] = {BiasedKeysAt<Slots>(row + from + 2 * v), columns};
  }
  const __m256i step = _mm256_set1_epi64x(2 * kSlots);
  __m256i columns = firstColumns;
  std::size_t m = from + 2 * kSlots;
  for (; m + 2 * kSlots <= to; m += 2 * kSlots) {
    columns = _mm256_add_epi64(columns, step);
    for (std::size_t v = 0; v < kSlots; ++v) {
      const __m256i slotColumns = _mm256_add_epi64(columns, _mm256_set1_epi64x(static_cast<long long>(2 * v)));
      TakeLarger(slots[v], BiasedKeysAt<Slots>(row + m + 2 * v), slotColumns);
    }
  }
  const __m256i sign = _mm256_set1_epi64x(static_cast<long long>(std::uint64_t{1} << 63));
  alignas(32) std::uint64_t keys[kSlots][4], columnsOf[kSlots][4];
  for (std::size_t v = 0; v < kSlots; ++v) {
    _mm256_store_si256(reinterpret_cast<__m256i*>(keys[v]), _mm256_xor_si256(slots[v].keys, sign));
    _mm256_store_si256(reinterpret_cast<__m256i*>(columnsOf[v]), slots[v].columns);
  }
  return Merged<Slots>(keys[0], columnsOf[0], 2 * kSlots, row, m, to);
}

}  // namespace

template <class Slots>
LargestMagnitude LargestMagnitudeOf(const RealSlot* row, std::size_t from, std::size_t to) {
  if (to - from >= 32) {
    switch (PathOf(Kernel::JacobiMagnitudeScan)) {
      case KernelPath::Avx512: return VectorLargest<Slots>(row, from, to);
      case KernelPath::Avx2: return Avx2Largest<Slots>(row, from, to);
      case KernelPath::Plain: break;
    }
  }
  return PlainLargest<Slots>(row, from, to);
}

template LargestMagnitude LargestMagnitudeOf<ExtendedSlots>(const RealSlot*, std::size_t, std::size_t);
template LargestMagnitude LargestMagnitudeOf<SplitSlots>(const RealSlot*, std::size_t, std::size_t);

}  // namespace vorn
