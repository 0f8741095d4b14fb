// 64-bit fingerprints, so that a kept result can tell whether what it was computed from is still
// there without keeping a copy of it: equal inputs give equal fingerprints, different ones the
// same only by a chance of about 2^-64.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace vorn {

// The SplitMix64 finaliser: hash = FingerprintMix(hash ^ word) folds one word into a fingerprint.
inline std::uint64_t FingerprintMix(std::uint64_t z) {
  z += 0x9E3779B97F4A7C15u;
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9u;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBu;
  return z ^ (z >> 31);
}

// Folds size bytes, eight at a time, and then their count, so that "ab" + "c" and "a" + "bc"
// differ.
inline std::uint64_t FingerprintBytes(std::uint64_t hash, const void* bytes, std::size_t size) {
  const auto* at = static_cast<const unsigned char*>(bytes);
  for (std::size_t done = 0; done < size; done += sizeof(std::uint64_t)) {
    std::uint64_t word = 0;
    std::memcpy(&word, at + done, std::min(sizeof word, size - done));
    hash = FingerprintMix(hash ^ word);
  }
  return FingerprintMix(hash ^ size);
}

}  // namespace vorn
