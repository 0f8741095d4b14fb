// The circular splits of n individuals laid out on a circle in a given order, and the design
// matrix A of the least squares that weighs them, applied without being held. Positions 0 .. n - 1
// are places on the circle. Split (i, j), 0 <= i < j <= n - 1, cuts the positions i + 1 .. j from
// the rest; these are all n (n - 1) / 2 circular splits, each once, and the side they list never
// holds position 0. Splits and pairs of positions share one layout, that of a strict lower
// triangle: split (i, j) at StrictPairIndex(j, i), pair (a, b), a < b, at StrictPairIndex(b, a).
// A x is the vector of pair distances that the split weights x give, each pair the sum of the
// weights of the splits that separate it; A^T y gives each split the sum of y over the pairs it
// separates. Both take O(n^2) operations in one pass over their input in its order, each of their
// sums running over one row or column of the triangle.
#pragma once

#include <cstddef>
#include <vector>

#include "core/conventions.h"

namespace vorn {

inline std::size_t CircularSplitCount(std::size_t n) { return n * (n - 1) / 2; }

// The pair distances A x of the split weights x (both of n (n - 1) / 2 values). In Real, or in
// double where an estimate will do (the gradients that choose which splits to free).
template <class Value>
std::vector<Value> SplitDistances(std::size_t n, const std::vector<Value>& weights);

// A^T y: for each split, the sum of the pair values y over the pairs it separates.
template <class Value>
std::vector<Value> SeparatedSums(std::size_t n, const std::vector<Value>& pairValues);

// A^T (d - A x) of pair distances d and split weights x, the residual d - A x carried in two
// parts: to the rounding of its own entries, however small they have become against d.
std::vector<Real> ResidualGradient(std::size_t n, const std::vector<Real>& pairDistances, const std::vector<Real>& weights);

// The weights that fit the pair distances exactly, of either sign (A is square and invertible):
// split (i, j) gets (d(i, j) + d(i + 1, j + 1) - d(i, j + 1) - d(i + 1, j)) / 2, positions taken
// round the circle (n is position 0) and d(a, a) = 0.
std::vector<Real> ExactSplitWeights(std::size_t n, const std::vector<Real>& pairDistances);

}  // namespace vorn
