// All eigenvalues and eigenvectors of a real symmetric matrix by cyclic-maximum Jacobi rotations:
// each rotation annihilates the off-diagonal element of largest magnitude, until the diagonal
// holds all but a tolerance share of the matrix's squared Frobenius norm.
#pragma once

#include <cstddef>
#include <functional>
#include <vector>

#include "core/conventions.h"
#include "ordination/real_slot.h"

namespace vorn {

inline constexpr Real kJacobiTolerance = 2.426994E-8L;

// The most rotations tried before giving up: 10000, or 50 per element of the upper triangle when
// that is more. The method needs about 2.4 per element, so only a matrix that cannot converge
// reaches it, and every matrix that converged within 10000 rotations still does.
std::size_t JacobiRotationLimit(std::size_t n);

// The rotation that annihilates B[p][q] (p < q) given B[p][p], B[q][q] and B[p][q].
struct JacobiRotation {
  Real c;
  Real s;
};
JacobiRotation RotationFor(Real bpp, Real bqq, Real bpq);

// (x, y) := (c x + s y, c y - s x), the slots held in the format Slots.
template <class Slots>
inline void RotatePair(JacobiRotation r, RealSlot& x, RealSlot& y) {
  const Real ox = Slots::Load(x), oy = Slots::Load(y);
  Slots::Store(x, r.c * ox + r.s * oy);
  Slots::Store(y, r.c * oy - r.s * ox);
}

// The new diagonal pair after the rotation, from the old values.
void RotateDiagonal(JacobiRotation r, Real bpq, Real& bpp, Real& bqq);

// |1 - T/D| below the tolerance: the diagonal's squared sum D holds all of the norm T but a
// tolerance share.
bool JacobiConverged(Real frobeniusSquare, Real diagonalSquare);

enum class JacobiOutcome { Converged, TooManyRotations, NotFinite, Cancelled, SolverFailed };

struct EigenSystem {
  JacobiOutcome outcome = JacobiOutcome::Converged;
  std::size_t rotations = 0;
  Real frobeniusSquare = 0;  // T, the squared Frobenius norm of the matrix
  std::vector<Real> values;   // descending
  std::vector<Real> vectors;  // column-major: component i of vector k at k * n + i
};

// Told every so many rotations with the rotations done and the share of the norm still off the
// diagonal, (T - D) / T; false stops the decomposition (outcome Cancelled).
using JacobiProgress = std::function<bool(std::size_t rotations, Real offDiagonalShare)>;

// The upper triangle of a symmetric n x n matrix with its diagonal, packed row by row: element
// (i, j), i <= j, at UpperOffset(n, i) + j.
inline std::size_t UpperOffset(std::size_t n, std::size_t i) { return i * n - i * (i + 1) / 2; }
inline std::size_t UpperSize(std::size_t n) { return n * (n + 1) / 2; }

// Whether the eigenvectors are rotated on a second core while the next pivots are found: always,
// never, or (Auto) for matrices of 100 rows or more when OpenMP allows more than one thread.
enum class VectorThread { Auto, Own, Same };

// Decomposes the symmetric matrix given by its packed upper triangle; its contents are used up.
// The eigenvalues come sorted in descending order by selection (a later one replaces the
// candidate only if strictly larger) with their vectors, each vector's first component made
// non-negative. The pivot is the first element of largest magnitude in row-major order of the
// upper triangle; each row keeps its largest element, so a rotation costs O(n). The numbers do
// not depend on the thread choice.
EigenSystem JacobiEigen(std::vector<Real> upper, std::size_t n, const JacobiProgress& progress = {},
                        VectorThread thread = VectorThread::Auto);

// Sorts values descending by selection, swapping the matching columns of the column-major
// vectors, then negates every vector whose first component is negative.
void SortEigenpairs(std::vector<Real>& values, std::vector<Real>& vectors, std::size_t n);

}  // namespace vorn
