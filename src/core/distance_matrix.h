// A symmetric matrix over N individuals, kept as its lower triangle with the diagonal, row by
// row: entry (i, j), j <= i, both from 0, at i * (i + 1) / 2 + j; N * (N + 1) / 2 entries.
#pragma once

#include <cstddef>
#include <vector>

#include "core/conventions.h"

namespace vorn {

inline std::size_t TriangleSize(std::size_t n) { return n * (n + 1) / 2; }
inline std::size_t TriangleIndex(std::size_t i, std::size_t j) {
  return i >= j ? i * (i + 1) / 2 + j : j * (j + 1) / 2 + i;
}

struct DistanceMatrix {
  std::size_t n = 0;
  std::vector<Real> entries;

  DistanceMatrix() = default;
  explicit DistanceMatrix(std::size_t size) : n(size), entries(TriangleSize(size)) {}

  Real& operator()(std::size_t i, std::size_t j) { return entries[TriangleIndex(i, j)]; }
  Real operator()(std::size_t i, std::size_t j) const { return entries[TriangleIndex(i, j)]; }
};

}  // namespace vorn
