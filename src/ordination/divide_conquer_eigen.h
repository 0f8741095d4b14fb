// All eigenvalues and eigenvectors of a real symmetric matrix by LAPACK's tridiagonal
// divide-and-conquer solver (dsyevd, OpenBLAS) in double precision: the fast alternative to the
// Jacobi rotations for large matrices, accurate to a few units of double rounding.
#pragma once

#include <cstddef>
#include <functional>
#include <vector>

#include "ordination/jacobi_eigen.h"

namespace vorn {

// Asked about twice a second while the solver works, with the seconds spent; false gives up
// (outcome Cancelled) once the solver returns, which cannot be stopped in between.
using SolverProgress = std::function<bool(double seconds)>;

// A symmetric matrix as the solver takes it: its upper triangle in a full column-major block of
// doubles (element (i, j), i <= j, at j * n + i; the rest unset), with the squared Frobenius norm
// of the extended values it was rounded from.
struct SolverMatrix {
  std::vector<double> columns;
  Real frobeniusSquare = 0;
};

// The packed upper triangle (see UpperOffset) rounded to the solver's form.
SolverMatrix SolverMatrixOf(const std::vector<Real>& upper, std::size_t n);

// Decomposes the matrix, whose block the solver overwrites with the vectors, so that nothing
// but the solver's own work space is held beside it. Values come in descending order with their
// vectors (column-major), each vector's first component made non-negative; only the vectors of
// the values above DivideAndConquerBound are kept. Outcome NotFinite for a matrix with an
// infinite or undefined element, SolverFailed when LAPACK reports that it did not converge. The
// solver uses as many cores as OpenMP may.
EigenSystem DivideAndConquerEigen(SolverMatrix matrix, std::size_t n, const SolverProgress& progress = {});

// An eigenvalue counts as a positive axis only above this bound: dsyevd's computed eigenvalues
// lie within about n eps ||B||_2 of the exact ones (eps the double rounding unit, 2^-53, which
// also covers rounding B to double), and ||B||_2 <= ||B||_F = sqrt(T). The bound is
// 4 n eps sqrt(T), so the null eigenvalue every centred matrix has never counts.
Real DivideAndConquerBound(Real frobeniusSquare, std::size_t n);

}  // namespace vorn
