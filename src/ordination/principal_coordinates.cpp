#include "ordination/principal_coordinates.h"

#include <cmath>
#include <new>
#include <string>
#include <utility>
#include <vector>

#include "core/number_format.h"

namespace vorn {
namespace {

Real HalfSquare(Real d) { return -0.5L * (d * d); }

std::string Plural(std::size_t count, const char* one, const char* many) {
  return std::to_string(count) + " " + (count == 1 ? one : many);
}

// Gower's centring of A = -d^2/2: the row means of A (each column's mean too, A being symmetric
// entry for entry) and their grand mean.
struct Centring {
  std::vector<Real> mean;
  Real grand = 0;

  explicit Centring(const DistanceMatrix& distances) : mean(distances.n) {
    const std::size_t n = distances.n;
    for (std::size_t i = 0; i < n; ++i) {
      Real sum = 0;
      for (std::size_t j = 0; j < n; ++j) {
        const Real a = HalfSquare(distances(i, j));
        sum += a;
        grand += a;
      }
      mean[i] = sum / n;
    }
    grand /= static_cast<Real>(n) * static_cast<Real>(n);
  }

  Real Entry(const DistanceMatrix& distances, std::size_t i, std::size_t j) const {
    return HalfSquare(distances(i, j)) - mean[i] - mean[j] + grand;
  }
};

// The rows x columns block (row-major) as columns x rows, in place: each element goes from
// r * columns + c to c * rows + r, the map x -> x * rows mod (size - 1) of all but the first and
// the last, followed cycle by cycle with one bit per element for those already placed.
void TransposeInPlace(std::vector<Real>& block, std::size_t rows, std::size_t columns) {
  const std::size_t size = rows * columns;
  if (rows <= 1 || columns <= 1) return;
  std::vector<bool> placed(size);
  for (std::size_t start = 1; start + 1 < size; ++start) {
    if (placed[start]) continue;
    Real carried = block[start];
    std::size_t x = start;
    do {
      x = x * rows % (size - 1);
      std::swap(carried, block[x]);
      placed[x] = true;
    } while (x != start);
  }
}

}  // namespace

std::vector<Real> CentredMatrix(const DistanceMatrix& distances) {
  const std::size_t n = distances.n;
  const Centring centring(distances);
  std::vector<Real> b(UpperSize(n));
  for (std::size_t i = 0; i < n; ++i) {
    Real* row = &b[UpperOffset(n, i)];
    for (std::size_t j = i; j < n; ++j) row[j] = centring.Entry(distances, i, j);
  }
  return b;
}

SolverMatrix CentredSolverMatrix(const DistanceMatrix& distances) {
  const std::size_t n = distances.n;
  const Centring centring(distances);
  SolverMatrix matrix;
  matrix.columns.resize(n * n);
  // Summed in the order of the packed rows, as SolverMatrixOf sums them.
  Real diagonal = 0, offDiagonal = 0;
  for (std::size_t i = 0; i < n; ++i) {
    for (std::size_t j = i; j < n; ++j) {
      const Real b = centring.Entry(distances, i, j);
      (j == i ? diagonal : offDiagonal) += b * b;
      matrix.columns[j * n + i] = static_cast<double>(b);
    }
  }
  matrix.frobeniusSquare = 2 * offDiagonal + diagonal;
  return matrix;
}

Status CheckOrdinable(const DistanceMatrix& distances) {
  if (distances.n < 2) {
    return Failure{"A principal coordinate analysis needs at least 2 individuals, but the current data matrix holds " +
                   std::to_string(distances.n) + "."};
  }
  std::size_t undefined = 0, negative = 0;
  for (const Real d : distances.entries) {
    if (!std::isfinite(d)) ++undefined;
    else if (d < 0) ++negative;
  }
  if (undefined == 0 && negative == 0) return Success();
  std::string what;
  if (undefined > 0) what = Plural(undefined, "entry without a value (NaN)", "entries without a value (NaN)");
  if (negative > 0) {
    if (!what.empty()) what += " and ";
    what += Plural(negative, "negative entry", "negative entries") + " (an undefined Nei-Li distance is -1)";
  }
  const char* which = undefined + negative == 1 ? ", which is no distance" : ", which are no distances";
  return Failure{"The distance matrix holds " + what + which +
                 "; the principal coordinate analysis needs distances between every pair."};
}

Real PositiveEigenvalueBound(Real frobeniusSquare) {
  return std::sqrt(kJacobiTolerance * frobeniusSquare / (1 - kJacobiTolerance));
}

Status TDistCluster::Compute(const JacobiProgress& progress, const SolverProgress& solverProgress) {
  const std::size_t n = n_;
  EigenSystem eigen;
  try {
    // The distances are released before the solver starts, which holds its own matrices.
    if (solver_ == PcoaSolver::Jacobi) {
      std::vector<Real> centred = CentredMatrix(distances_);
      distances_ = DistanceMatrix();
      eigen = JacobiEigen(std::move(centred), n, progress);
    } else {
      SolverMatrix centred = CentredSolverMatrix(distances_);
      distances_ = DistanceMatrix();
      eigen = solver_ == PcoaSolver::DivideAndConquer ? DivideAndConquerEigen(std::move(centred), n, solverProgress)
                                                      : RelativelyRobustEigen(std::move(centred), n, solverProgress);
    }
  } catch (const std::bad_alloc&) {
    return Failure{"Out of memory"};
  }
  rotations_ = eigen.rotations;
  if (eigen.outcome == JacobiOutcome::Cancelled) {
    cancelled_ = true;
    return Failure{""};
  }
  if (eigen.outcome != JacobiOutcome::Converged) {
    return Failure{"PCoA failed"};
  }
  const Real bound = solver_ == PcoaSolver::Jacobi ? PositiveEigenvalueBound(eigen.frobeniusSquare)
                                                   : LapackEigenvalueBound(eigen.frobeniusSquare, n);
  std::size_t positive = 0;
  positiveSum_ = 0;
  for (const Real lambda : eigen.values) {
    if (lambda > bound) {
      ++positive;
      positiveSum_ += lambda;
    }
  }
  firstEigenvalue_ = eigen.values[0];
  // Sorted descending, so the positive axes come first.
  result_.eigenvalues.assign(eigen.values.begin(), eigen.values.begin() + positive);
  result_.percentages.clear();
  for (const Real lambda : result_.eigenvalues) result_.percentages.push_back(100 * lambda / positiveSum_);
  // The coordinates take the vectors' place, so that no second block of that size is needed.
  std::vector<Real>& vectors = eigen.vectors;
  for (std::size_t k = 0; k < positive; ++k) {
    const Real root = std::sqrt(result_.eigenvalues[k]);
    for (std::size_t i = 0; i < n; ++i) vectors[k * n + i] = root * vectors[k * n + i];
  }
  vectors.resize(positive * n);
  vectors.shrink_to_fit();  // the rotations give every vector; the workspace keeps these
  TransposeInPlace(vectors, positive, n);
  result_.coordinates = std::move(vectors);
  return Success();
}

void TDistCluster::WriteResults(TextFileWriter& file, const Ordination& result, std::size_t maxAxes,
                                const LabelTable& labels) const {
  const std::size_t axes = std::min(maxAxes, result.AxisCount());
  file.Line();
  file.Line("Principal Coordinate Analysis");
  file.Line();
  if (solver_ == PcoaSolver::DivideAndConquer) file.Line("Eigen solver: divide and conquer (LAPACK dsyevd), double precision");
  if (solver_ == PcoaSolver::RelativelyRobust) {
    file.Line("Eigen solver: relatively robust representations (LAPACK dsytrd, dstemr), double precision");
  }
  file.Line("Number of positive eigenvalues: " + std::to_string(result.AxisCount()));
  file.Line("First eigenvalue: " + FormatReal(firstEigenvalue_));
  file.Line("Sum of positive eigenvalues: " + FormatReal(positiveSum_));
  file.Line("Eigenvalues (as percentages of the sum of positive eigenvalues)");
  for (const Real percentage : result.percentages) file.Line(FormatReal(percentage));
  file.Line();
  file.Line("PCoA coordinates");
  for (std::size_t i = 0; i < n_; ++i) {
    std::string line = (labels.Empty() ? "OTU" + std::to_string(i + 1) : labels[i]) + " ";
    for (std::size_t k = 0; k < axes; ++k) line += FormatReal(result.Coordinate(i, k)) + " ";
    file.Line(line);
  }
  file.Line();
}

}  // namespace vorn
