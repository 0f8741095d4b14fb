// Keeping the tree a tree command wrote, with a fingerprint of the matrix it came from (not a
// copy of it), so that the cophenetic correlation can tell whether the active matrix is still it.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>

#include "core/fingerprint.h"
#include "core/workspace.h"

namespace vorn {

// 64 bits of the matrix's size and values: equal matrices (a not-a-number entry equal to one in
// the same place, -0 to 0) give equal fingerprints, different ones the same only by a chance of
// about 2^-64.
inline std::uint64_t Fingerprint(const DistanceMatrix& matrix) {
  std::uint64_t hash = FingerprintMix(matrix.n);
  for (Real x : matrix.entries) {
    if (std::isnan(x)) x = std::numeric_limits<Real>::quiet_NaN();
    else if (x == 0) x = 0;
    std::uint64_t significand = 0;
    std::uint16_t signAndExponent = 0;  // the 80 bits of the value; the rest is padding
    std::memcpy(&significand, &x, sizeof significand);
    std::memcpy(&signAndExponent, reinterpret_cast<const unsigned char*>(&x) + sizeof significand, sizeof signAndExponent);
    hash = FingerprintMix(FingerprintMix(hash ^ significand) ^ signAndExponent);
  }
  return hash;
}

inline void RememberTree(Workspace& ws, const DistanceMatrix& active, std::string newick) {
  ws.lastTree = BuiltTree{std::move(newick), Fingerprint(active), ws.settings.similarity.transformation,
                          ws.results.activeName};
}

}  // namespace vorn
