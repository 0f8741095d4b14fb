// The matrix goes to LAPACK as a full column-major block of doubles whose upper triangle is
// read, so that the solver's own work space (about 2 n^2 doubles) is the only other large block.
// The solver runs on a thread of its own while the calling thread tells the progress.
#include "ordination/divide_conquer_eigen.h"

#include <lapacke.h>
#include <omp.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <limits>
#include <thread>

extern "C" void openblas_set_num_threads(int threads);

namespace vorn {

Real DivideAndConquerBound(Real frobeniusSquare, std::size_t n) {
  constexpr Real kEpsilon = std::numeric_limits<double>::epsilon() / 2;
  return 4 * static_cast<Real>(n) * kEpsilon * std::sqrt(frobeniusSquare);
}

SolverMatrix SolverMatrixOf(const std::vector<Real>& upper, std::size_t n) {
  SolverMatrix matrix;
  Real diagonal = 0, offDiagonal = 0;
  matrix.columns.resize(n * n);
  for (std::size_t i = 0; i < n; ++i) {
    const Real* row = upper.data() + UpperOffset(n, i);
    diagonal += row[i] * row[i];
    for (std::size_t j = i + 1; j < n; ++j) offDiagonal += row[j] * row[j];
    for (std::size_t j = i; j < n; ++j) matrix.columns[j * n + i] = static_cast<double>(row[j]);
  }
  matrix.frobeniusSquare = 2 * offDiagonal + diagonal;
  return matrix;
}

EigenSystem DivideAndConquerEigen(SolverMatrix matrix, std::size_t n, const SolverProgress& progress) {
  EigenSystem result;
  result.frobeniusSquare = matrix.frobeniusSquare;
  if (!std::isfinite(result.frobeniusSquare)) {
    result.outcome = JacobiOutcome::NotFinite;
    return result;
  }
  std::vector<double>& a = matrix.columns;

  openblas_set_num_threads(omp_get_max_threads());
  std::vector<double> values(n);
  lapack_int info = 0;
  const auto solve = [&] {
    const auto order = static_cast<lapack_int>(n);
    info = LAPACKE_dsyevd(LAPACK_COL_MAJOR, 'V', 'U', order, a.data(), order, values.data());
  };
  if (progress) {
    std::atomic<bool> done{false};
    std::thread solver([&] {
      solve();
      done.store(true, std::memory_order_release);
    });
    const auto start = std::chrono::steady_clock::now();
    bool wanted = true;
    for (int tick = 1; !done.load(std::memory_order_acquire); ++tick) {
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
      if (wanted && tick % 10 == 0) {
        wanted = progress(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
      }
    }
    solver.join();
    if (!wanted) {
      result.outcome = JacobiOutcome::Cancelled;
      return result;
    }
  } else {
    solve();
  }
  if (info != 0) {
    result.outcome = JacobiOutcome::SolverFailed;
    return result;
  }
  // LAPACK gives the values ascending.
  const Real keepAbove = DivideAndConquerBound(result.frobeniusSquare, n);
  result.values.resize(n);
  std::size_t kept = 0;
  for (std::size_t k = 0; k < n; ++k) {
    result.values[k] = values[n - 1 - k];
    if (result.values[k] > keepAbove) kept = k + 1;
  }
  result.vectors.resize(kept * n);
  for (std::size_t k = 0; k < kept; ++k) {
    const double* column = &a[(n - 1 - k) * n];
    const Real sign = column[0] < 0 ? -1 : 1;
    for (std::size_t i = 0; i < n; ++i) result.vectors[k * n + i] = sign * column[i];
  }
  std::vector<double>().swap(a);
  return result;
}

}  // namespace vorn
