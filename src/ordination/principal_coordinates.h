// Principal coordinate analysis of a distance triangle: Gower's double centring of -d^2/2, its
// Jacobi eigen decomposition, and the coordinates of the individuals on the positive axes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/distance_matrix.h"
#include "core/label_table.h"
#include "core/ordination.h"
#include "core/result.h"
#include "core/text_file.h"
#include "ordination/lapack_eigen.h"
#include "ordination/jacobi_eigen.h"

namespace vorn {

inline constexpr std::size_t kWrittenAxes = 50;  // coordinate columns written at most

// The eigen solver: the Jacobi rotations in extended precision (the default), or one of LAPACK's
// in double precision (Options > PCoA Settings).
enum class PcoaSolver : std::uint8_t { Jacobi = 0, DivideAndConquer = 1, RelativelyRobust = 2 };

// The centred matrix B of the triangle's n individuals as its packed upper triangle (see
// UpperOffset): B[i][j] = A[i][j] - rowMean(i) - columnMean(j) + grand mean, A[i][j] = -d(i, j)^2 / 2.
std::vector<Real> CentredMatrix(const DistanceMatrix& distances);

// The same matrix in the LAPACK solvers' form, rounded to double from the same
// extended values, without the packed triangle in between.
SolverMatrix CentredSolverMatrix(const DistanceMatrix& distances);

// Why the distances cannot be ordinated, if they cannot: fewer than 2 individuals, or entries
// that are not finite non-negative numbers (counted, an undefined Nei-Li -1 among them).
Status CheckOrdinable(const DistanceMatrix& distances);

// An eigenvalue counts as a positive axis only above this bound. At convergence the
// off-diagonal mass left, ||E||_F^2 = T - D, is below tol * D < tol * T / (1 - tol), and by
// Weyl's inequality each diagonal value lies within ||E||_2 <= ||E||_F of its eigenvalue; a
// value below the bound may belong to a zero eigenvalue, such as the one every centred matrix
// has (its rows sum to 0).
Real PositiveEigenvalueBound(Real frobeniusSquare);

class TDistCluster {
 public:
  explicit TDistCluster(DistanceMatrix distances, PcoaSolver solver = PcoaSolver::Jacobi)
      : distances_(std::move(distances)), n_(distances_.n), solver_(solver) {}

  // The decomposition and the positive axes, once: the distances are used up. Fails with "Out of memory" or "PCoA failed"; a
  // progress call that answers false stops it (Cancelled(), and a failure without message).
  // The Jacobi rotations tell progress, the LAPACK solvers solverProgress.
  Status Compute(const JacobiProgress& progress = {}, const SolverProgress& solverProgress = {});
  bool Cancelled() const { return cancelled_; }

  // The result block of the computed result (or of the one taken from it) with at most maxAxes
  // coordinate columns; individuals are named by labels, or "OTU1" ... without them. After a
  // LAPACK solver a line under the title names it.
  void WriteResults(TextFileWriter& file, const Ordination& result, std::size_t maxAxes,
                    const LabelTable& labels) const;

  std::size_t PositiveCount() const { return result_.AxisCount(); }
  Real FirstEigenvalue() const { return firstEigenvalue_; }
  Real PositiveSum() const { return positiveSum_; }
  std::size_t Rotations() const { return rotations_; }
  // The positive axes with their percentages and coordinates (no labels or name yet).
  const Ordination& Result() const { return result_; }
  // The same, handed over without a copy; Result() is empty afterwards.
  Ordination TakeResult() { return std::move(result_); }

 private:
  DistanceMatrix distances_;
  std::size_t n_;
  PcoaSolver solver_;
  Ordination result_;
  Real firstEigenvalue_ = 0;
  Real positiveSum_ = 0;
  std::size_t rotations_ = 0;
  bool cancelled_ = false;
};

}  // namespace vorn
