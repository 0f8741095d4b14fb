// Population counts in 256-bit vectors for processors with AVX2 but no vector popcount: each
// byte's set bits looked up by nibble in a sixteen-entry table with vpshufb (Mula, Kurz and
// Lemire 2018). A byte counts at most 8, so 31 vectors of counts add up in bytes before they
// must be widened.
#pragma once

#include <immintrin.h>

#include <cstddef>
#include <cstdint>

namespace vorn {

inline constexpr std::size_t kByteCountVectors = 31;  // 31 * 8 <= 255

// Four words from at.
[[gnu::target("avx2"), gnu::always_inline]] inline __m256i LoadWords(const std::uint64_t* at) {
  return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at));
}

// The number of set bits of each byte of x.
[[gnu::target("avx2"), gnu::always_inline]] inline __m256i ByteCounts(__m256i x) {
  const __m256i table = _mm256_setr_epi8(0, 1, 1, 2, 1, 2, 2, 3, 1, 2, 2, 3, 2, 3, 3, 4,  //
                                         0, 1, 1, 2, 1, 2, 2, 3, 1, 2, 2, 3, 2, 3, 3, 4);
  const __m256i nibble = _mm256_set1_epi8(0x0f);
  const __m256i low = _mm256_shuffle_epi8(table, _mm256_and_si256(x, nibble));
  const __m256i high = _mm256_shuffle_epi8(table, _mm256_and_si256(_mm256_srli_epi16(x, 4), nibble));
  return _mm256_add_epi8(low, high);
}

// The byte counts summed in each 64-bit lane.
[[gnu::target("avx2"), gnu::always_inline]] inline __m256i LaneSums(__m256i byteCounts) {
  return _mm256_sad_epu8(byteCounts, _mm256_setzero_si256());
}

// The sum of the four 64-bit lanes.
[[gnu::target("avx2"), gnu::always_inline]] inline std::uint64_t Total(__m256i lanes) {
  const __m128i half = _mm_add_epi64(_mm256_castsi256_si128(lanes), _mm256_extracti128_si256(lanes, 1));
  return static_cast<std::uint64_t>(_mm_cvtsi128_si64(half)) + static_cast<std::uint64_t>(_mm_extract_epi64(half, 1));
}

}  // namespace vorn
