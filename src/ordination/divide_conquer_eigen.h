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

// Decomposes the symmetric matrix given by its packed upper triangle (see UpperOffset), which is
// used up. Values come in descending order with their vectors (column-major), each vector's first
// component made non-negative; only the vectors of the values above DivideAndConquerBound are
// kept. Outcome
// NotFinite for a matrix with an infinite or undefined element, SolverFailed when LAPACK reports
// that it did not converge. The solver uses as many cores as OpenMP may.
EigenSystem DivideAndConquerEigen(std::vector<Real> upper, std::size_t n, const SolverProgress& progress = {});

// An eigenvalue counts as a positive axis only above this bound: dsyevd's computed eigenvalues
// lie within about n eps ||B||_2 of the exact ones (eps the double rounding unit, 2^-53, which
// also covers rounding B to double), and ||B||_2 <= ||B||_F = sqrt(T). The bound is
// 4 n eps sqrt(T), so the null eigenvalue every centred matrix has never counts.
Real DivideAndConquerBound(Real frobeniusSquare, std::size_t n);

}  // namespace vorn
