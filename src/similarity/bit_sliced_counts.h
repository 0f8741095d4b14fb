// 256 counters kept bit-sliced in 256-bit vectors: bit b of every counter in plane b, so that
// adding a vector of 256 bits (one to each counter whose bit is set) costs a few whole-vector
// operations. Thirty-two vectors at a time go through a tree of carry-save adders (Harley-Seal, as
// Mula, Kurz and Lemire 2018 count bits), whose carries of weight 32 ripple into the planes; a
// vector added at level b counts 2^b. Counts stay below 2^kMaxPlanes.
#pragma once

#include <immintrin.h>

#include <cstddef>
#include <cstdint>

namespace vorn {

inline constexpr int kMaxPlanes = 16;

struct SlicedCounts {
  // Planes from kMaxPlanes on stay zero: carries of vectors added at levels up to
  // kMaxPlanes - 1 ripple through them.
  __m256i plane[2 * kMaxPlanes + 4];
};

[[gnu::target("avx2"), gnu::always_inline]] inline void ClearCounts(SlicedCounts& counts) {
  for (__m256i& p : counts.plane) p = _mm256_setzero_si256();
}

// Adds carry at level into the planes, rippling through kReach of them: kMaxPlanes - level
// reach every plane a count below 2^kMaxPlanes needs.
template <int kReach>
[[gnu::target("avx2"), gnu::always_inline]] inline void AddAt(SlicedCounts& counts, int level, __m256i carry) {
  __m256i* plane = counts.plane + level;
  for (int b = 0; b < kReach; ++b) {
    const __m256i next = _mm256_and_si256(plane[b], carry);
    plane[b] = _mm256_xor_si256(plane[b], carry);
    carry = next;
  }
}

// A full adder of three vectors: high (weight 2) and low (weight 1).
[[gnu::target("avx2"), gnu::always_inline]] inline void CarrySave(__m256i& high, __m256i& low, __m256i a, __m256i b,
                                                                  __m256i c) {
  const __m256i u = _mm256_xor_si256(a, b);
  high = _mm256_or_si256(_mm256_and_si256(a, b), _mm256_and_si256(u, c));
  low = _mm256_xor_si256(u, c);
}

// The vectors added at one level: the adders' sums of weight 1 to 16, and their carries of
// weight 32 in the planes.
struct CarrySaveTree {
  const std::uint8_t* base;  // vector k at base + offset[k] * stride bytes
  std::size_t stride;
  int level;
  __m256i ones, twos, fours, eights, sixteens;

  [[gnu::target("avx2"), gnu::always_inline]] CarrySaveTree(const std::uint8_t* base_, std::size_t stride_,
                                                            int level_)
      : base(base_), stride(stride_), level(level_) {
    ones = twos = fours = eights = sixteens = _mm256_setzero_si256();
  }

  [[gnu::target("avx2"), gnu::always_inline]] __m256i At(std::uint16_t offset) const {
    return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(base + std::size_t{offset} * stride));
  }
  // Eight vectors into ones, twos and fours; their carry of weight 8.
  [[gnu::target("avx2"), gnu::always_inline]] __m256i AddEight(const std::uint16_t* o) {
    __m256i twosA, twosB, foursA, foursB, eightsA;
    CarrySave(twosA, ones, ones, At(o[0]), At(o[1]));
    CarrySave(twosB, ones, ones, At(o[2]), At(o[3]));
    CarrySave(foursA, twos, twos, twosA, twosB);
    CarrySave(twosA, ones, ones, At(o[4]), At(o[5]));
    CarrySave(twosB, ones, ones, At(o[6]), At(o[7]));
    CarrySave(foursB, twos, twos, twosA, twosB);
    CarrySave(eightsA, fours, fours, foursA, foursB);
    return eightsA;
  }
  [[gnu::target("avx2"), gnu::always_inline]] void AddThirtyTwo(const std::uint16_t* o, SlicedCounts& counts) {
    __m256i eightsA = AddEight(o), eightsB = AddEight(o + 8), sixteensA, sixteensB, thirtyTwos;
    CarrySave(sixteensA, eights, eights, eightsA, eightsB);
    eightsA = AddEight(o + 16);
    eightsB = AddEight(o + 24);
    CarrySave(sixteensB, eights, eights, eightsA, eightsB);
    CarrySave(thirtyTwos, sixteens, sixteens, sixteensA, sixteensB);
    AddAt<kMaxPlanes - 5>(counts, level + 5, thirtyTwos);  // level + 5 >= 5
  }
  [[gnu::target("avx2"), gnu::always_inline]] void Flush(SlicedCounts& counts) const {
    AddAt<kMaxPlanes>(counts, level, ones);
    AddAt<kMaxPlanes>(counts, level + 1, twos);
    AddAt<kMaxPlanes>(counts, level + 2, fours);
    AddAt<kMaxPlanes>(counts, level + 3, eights);
    AddAt<kMaxPlanes>(counts, level + 4, sixteens);
  }
};

// Adds, at level (below kMaxPlanes), the vectors at base + offset[k] * stride bytes for
// k < length; the vector at base + zero * stride is zero.
[[gnu::target("avx2"), gnu::always_inline]] inline void AddVectors(const std::uint16_t* offset, std::size_t length,
                                                                   std::uint16_t zero, const std::uint8_t* base,
                                                                   std::size_t stride, int level,
                                                                   SlicedCounts& counts) {
  CarrySaveTree tree(base, stride, level);
  std::size_t k = 0;
  for (; k + 32 <= length; k += 32) tree.AddThirtyTwo(offset + k, counts);
  if (k < length) {
    std::uint16_t last[32];
    for (std::size_t m = 0; m < 32; ++m) last[m] = k + m < length ? offset[k + m] : zero;
    tree.AddThirtyTwo(last, counts);
  }
  tree.Flush(counts);
}

// Counters 0 .. 32 * stretches - 1 as integers: counter u into values[u] (stretches <= 8).
[[gnu::target("avx2"), gnu::always_inline]] inline void Unslice(const SlicedCounts& counts, int top,
                                                                std::size_t stretches, std::uint32_t* values) {
  // Byte m of a vector gets bit m of a 32-bit stretch of a plane: byte m / 8, tested with its bit m % 8.
  const __m256i spread = _mm256_setr_epi8(0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 1, 1, 1, 1,  //
                                          2, 2, 2, 2, 2, 2, 2, 2, 3, 3, 3, 3, 3, 3, 3, 3);
  const __m256i bitOf = _mm256_set1_epi64x(static_cast<long long>(0x8040201008040201ULL));
  alignas(32) std::uint32_t stretch[kMaxPlanes][8];  // planes from top on are zero
  for (int b = 0; b < top; ++b) _mm256_store_si256(reinterpret_cast<__m256i*>(stretch[b]), counts.plane[b]);
  for (std::size_t s = 0; s < stretches; ++s) {
    __m256i low = _mm256_setzero_si256(), high = low;
    for (int b = 0; b < top; ++b) {
      const __m256i bits = _mm256_shuffle_epi8(_mm256_set1_epi32(static_cast<int>(stretch[b][s])), spread);
      const __m256i set = _mm256_cmpeq_epi8(_mm256_and_si256(bits, bitOf), bitOf);
      __m256i& half = b < 8 ? low : high;
      half = _mm256_or_si256(half, _mm256_and_si256(set, _mm256_set1_epi8(static_cast<char>(1 << (b % 8)))));
    }
    alignas(32) std::uint8_t lowBytes[32], highBytes[32];
    _mm256_store_si256(reinterpret_cast<__m256i*>(lowBytes), low);
    _mm256_store_si256(reinterpret_cast<__m256i*>(highBytes), high);
    for (std::size_t m = 0; m < 32; ++m) values[32 * s + m] = lowBytes[m] | std::uint32_t{highBytes[m]} << 8;
  }
}

}  // namespace vorn
