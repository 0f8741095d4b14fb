// All eigenvalues of a real symmetric matrix, and the eigenvectors of those above the solver's
// error bound, by LAPACK (OpenBLAS) in double precision: the fast alternatives to the Jacobi
// rotations for large matrices, accurate to a few units of double rounding. Two solvers:
// - divide and conquer (dsyevd): every vector, then those of the positive values kept;
// - relatively robust representations: the tridiagonal reduction (dsytrd), every value of the
//   tridiagonal matrix (dsterf), the vectors of the positive values only (dstemr) and their
//   back-transformation (dormtr). It does less work and holds only the matrix and the kept
//   vectors, where dsyevd's work space is twice the matrix.
#pragma once

#include <cstddef>
#include <functional>
#include <vector>

#include "ordination/jacobi_eigen.h"

namespace vorn {

// Asked about twice a second while the solver works, with the seconds spent; false gives up
// (outcome Cancelled) once the solver returns, which cannot be stopped in between.
using SolverProgress = std::function<bool(double seconds)>;

// A symmetric matrix as the solvers take it: its upper triangle in a full column-major block of
// doubles (element (i, j), i <= j, at j * n + i; the rest unset), with the squared Frobenius norm
// of the extended values it was rounded from.
struct SolverMatrix {
  std::vector<double> columns;
  Real frobeniusSquare = 0;
};

// The packed upper triangle (see UpperOffset) rounded to the solvers' form.
SolverMatrix SolverMatrixOf(const std::vector<Real>& upper, std::size_t n);

// Both decompose the matrix in its own block, which they overwrite. Values come in descending
// order; vectors (column-major) only for the values above LapackEigenvalueBound, each vector's
// first component made non-negative. Outcome NotFinite for a matrix with an infinite or undefined
// element, SolverFailed when LAPACK reports that it did not converge; std::bad_alloc when memory
// runs out, in LAPACK's work space too. They use as many cores as OpenMP may.
EigenSystem DivideAndConquerEigen(SolverMatrix matrix, std::size_t n, const SolverProgress& progress = {});
EigenSystem RelativelyRobustEigen(SolverMatrix matrix, std::size_t n, const SolverProgress& progress = {});

// An eigenvalue counts as a positive axis only above this bound: the computed eigenvalues of
// either solver lie within about n eps ||B||_2 of the exact ones (eps the double rounding unit,
// 2^-53, which also covers rounding B to double; the reduction to tridiagonal form is backward
// stable to that order), and ||B||_2 <= ||B||_F = sqrt(T). The bound is 4 n eps sqrt(T), so the
// null eigenvalue every centred matrix has never counts.
Real LapackEigenvalueBound(Real frobeniusSquare, std::size_t n);

}  // namespace vorn
