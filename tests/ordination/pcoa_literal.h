// The principal coordinate decomposition written out step by step, the slow way: means taken
// afresh for every element, the whole upper triangle scanned for each pivot, rows, columns and
// V updated as separate loops over an n x n matrix. The fast solver must give the same numbers.
#pragma once

#include <cmath>
#include <utility>
#include <vector>

#include "core/distance_matrix.h"
#include "ordination/jacobi_eigen.h"

namespace vorn::testing {

struct LiteralEigen {
  bool converged = false;
  std::size_t rotations = 0;
  std::vector<Real> values;
  std::vector<Real> vectors;  // column-major, as the solver gives them
};

// The rotations of a symmetric matrix b (whole, n x n).
inline LiteralEigen LiteralJacobi(std::vector<std::vector<Real>> b) {
  const std::size_t n = b.size();
  std::vector<std::vector<Real>> v(n, std::vector<Real>(n));
  LiteralEigen out;
  for (std::size_t k = 0; k < n; ++k) v[k][k] = 1;
  Real d = 0, s = 0;
  for (std::size_t i = 0; i < n; ++i) d += b[i][i] * b[i][i];
  for (std::size_t i = 0; i < n; ++i)
    for (std::size_t j = i + 1; j < n; ++j) s += b[i][j] * b[i][j];
  const Real t = 2 * s + d;
  out.converged = s == 0;
  while (!out.converged) {
    std::size_t p = 0, q = 1;
    for (std::size_t i = 0; i < n; ++i)
      for (std::size_t j = i + 1; j < n; ++j)
        if (std::fabs(b[i][j]) > std::fabs(b[p][q])) p = i, q = j;
    const JacobiRotation r = RotationFor(b[p][p], b[q][q], b[p][q]);
    for (std::size_t k = 0; k < n; ++k) {
      const Real x = v[k][p], y = v[k][q];
      v[k][p] = r.c * x + r.s * y;
      v[k][q] = r.c * y - r.s * x;
    }
    auto rotate = [&](Real& x, Real& y) {
      const Real ox = x, oy = y;
      x = r.c * ox + r.s * oy;
      y = r.c * oy - r.s * ox;
    };
    for (std::size_t l = 0; l < p; ++l) rotate(b[l][p], b[l][q]);
    for (std::size_t m2 = p + 1; m2 < q; ++m2) rotate(b[p][m2], b[m2][q]);
    for (std::size_t m2 = q + 1; m2 < n; ++m2) rotate(b[p][m2], b[q][m2]);
    d = d + 2 * b[p][q] * b[p][q];
    RotateDiagonal(r, b[p][q], b[p][p], b[q][q]);
    b[p][q] = 0;
    if (++out.rotations > JacobiRotationLimit(n)) return out;
    out.converged = JacobiConverged(t, d);
  }
  for (std::size_t i = 0; i < n; ++i) out.values.push_back(b[i][i]);
  for (std::size_t k = 0; k < n; ++k)
    for (std::size_t i = 0; i < n; ++i) out.vectors.push_back(v[i][k]);
  SortEigenpairs(out.values, out.vectors, n);
  return out;
}

// The Gower-centred matrix of the distances, then its rotations.
inline LiteralEigen LiteralPcoa(const DistanceMatrix& distances) {
  const std::size_t n = distances.n;
  std::vector<std::vector<Real>> a(n, std::vector<Real>(n)), b = a;
  for (std::size_t i = 0; i < n; ++i)
    for (std::size_t j = 0; j < n; ++j) a[i][j] = -0.5L * (distances(i, j) * distances(i, j));
  auto rowMean = [&](std::size_t i) {
    Real sum = 0;
    for (std::size_t j = 0; j < n; ++j) sum += a[i][j];
    return sum / n;
  };
  auto columnMean = [&](std::size_t j) {
    Real sum = 0;
    for (std::size_t i = 0; i < n; ++i) sum += a[i][j];
    return sum / n;
  };
  Real m = 0;
  for (std::size_t i = 0; i < n; ++i)
    for (std::size_t j = 0; j < n; ++j) m += a[i][j];
  m /= static_cast<Real>(n) * static_cast<Real>(n);
  for (std::size_t i = 0; i < n; ++i)
    for (std::size_t j = 0; j < n; ++j) b[i][j] = a[i][j] - rowMean(i) - columnMean(j) + m;
  return LiteralJacobi(std::move(b));
}

}  // namespace vorn::testing
