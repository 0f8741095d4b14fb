// The matrix goes to LAPACK as a full column-major block of doubles whose upper triangle is
// read. Each solver runs on a thread of its own while the calling thread tells the progress.
#include "ordination/lapack_eigen.h"

#include <lapacke.h>
#include <omp.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <exception>
#include <limits>
#include <new>
#include <thread>

extern "C" void openblas_set_num_threads(int threads);

namespace vorn {
namespace {

// Work on a thread of its own. Join waits for it and throws what the work threw (such as running
// out of memory), which would otherwise end the program; the destructor waits for it too.
class WorkerThread {
 public:
  explicit WorkerThread(std::function<void()> work)
      : thread_([this, work = std::move(work)] {
          try {
            work();
          } catch (...) {
            failure_ = std::current_exception();
          }
          done_.store(true, std::memory_order_release);
        }) {}
  ~WorkerThread() {
    if (thread_.joinable()) thread_.join();
  }
  bool Done() const { return done_.load(std::memory_order_acquire); }
  void Join() {
    thread_.join();
    if (failure_) std::rethrow_exception(failure_);
  }

 private:
  std::exception_ptr failure_;
  std::atomic<bool> done_{false};
  std::thread thread_;  // last, so that it starts once the rest is in place
};

// Runs solve on a thread of its own, asking progress twice a second; false when progress gave up.
bool RunSolver(const std::function<void()>& solve, const SolverProgress& progress) {
  openblas_set_num_threads(omp_get_max_threads());
  if (!progress) {
    solve();
    return true;
  }
  WorkerThread solver(solve);
  const auto start = std::chrono::steady_clock::now();
  bool wanted = true;
  for (int tick = 1; !solver.Done(); ++tick) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    if (wanted && tick % 10 == 0) {
      wanted = progress(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
  }
  solver.Join();
  return wanted;
}

// The values descending (from ascending), and the vectors of the kept largest: column c of
// columns (ascending, `available` of them, the largest last) is vector available - 1 - c.
void Assemble(EigenSystem& result, const std::vector<double>& ascending, const double* columns,
              std::size_t available, std::size_t kept, std::size_t n) {
  result.values.resize(n);
  for (std::size_t k = 0; k < n; ++k) result.values[k] = ascending[n - 1 - k];
  result.vectors.resize(kept * n);
  for (std::size_t k = 0; k < kept; ++k) {
    const double* column = columns + (available - 1 - k) * n;
    const Real sign = column[0] < 0 ? -1 : 1;
    for (std::size_t i = 0; i < n; ++i) result.vectors[k * n + i] = sign * column[i];
  }
}

std::size_t CountAbove(const std::vector<double>& values, Real bound) {
  return static_cast<std::size_t>(std::count_if(values.begin(), values.end(), [bound](double x) { return x > bound; }));
}

// Vectors of the tridiagonal matrix (diagonal d, off-diagonal e) for its values first ...
// first + count - 1 (ascending) into count columns from z, by dstemr. Returns LAPACK's info (-1
// when it found fewer).
lapack_int RobustVectorsOf(const std::vector<double>& d, const std::vector<double>& e, std::size_t first,
                           std::size_t count, double* z) {
  const auto n = static_cast<lapack_int>(d.size());
  std::vector<double> dWork(d), eWork(e), w(d.size());
  std::vector<lapack_int> support(2 * count);
  lapack_int found = 0;
  lapack_logical relativeAccuracy = 1;
  const lapack_int info =
      LAPACKE_dstemr(LAPACK_COL_MAJOR, 'V', 'I', n, dWork.data(), eWork.data(), 0, 0, static_cast<lapack_int>(first) + 1,
                     static_cast<lapack_int>(first + count), &found, w.data(), z, n, static_cast<lapack_int>(count),
                     support.data(), &relativeAccuracy);
  return info != 0 ? info : found == static_cast<lapack_int>(count) ? 0 : -1;
}

// The same for the values from first on, ascending in `values`, on two cores when there are
// many: split where the relative gap between neighbouring values is widest in the middle third,
// if it separates them as dstemr's own clusters are separated (1e-3), so that each half's vectors
// are found as one call would find them. The vector part of dstemr runs on one core otherwise.
lapack_int RobustVectors(const std::vector<double>& d, const std::vector<double>& e, const std::vector<double>& values,
                         std::size_t first, double* z) {
  constexpr std::size_t kSplitFrom = 64;  // vectors
  constexpr double kSeparated = 1e-3;
  const std::size_t count = values.size() - first;
  std::size_t split = 0;
  double widest = 0;
  if (count >= kSplitFrom && omp_get_max_threads() > 1) {
    for (std::size_t k = first + count / 3; k < first + 2 * count / 3; ++k) {
      const double gap = (values[k] - values[k - 1]) / std::max(std::fabs(values[k]), std::fabs(values[k - 1]));
      if (gap > widest) widest = gap, split = k;
    }
  }
  if (widest < kSeparated) return RobustVectorsOf(d, e, first, count, z);
  lapack_int upper = 0;
  WorkerThread other([&] { upper = RobustVectorsOf(d, e, split, values.size() - split, z + (split - first) * d.size()); });
  const lapack_int lower = RobustVectorsOf(d, e, first, split - first, z);
  other.Join();
  return lower != 0 ? lower : upper;
}

// Vectors of the tridiagonal matrix (diagonal d, off-diagonal e) for its `kept` largest values
// by bisection and inverse iteration, the way LAPACK's own drivers go when dstemr gives up:
// ascending in z's columns afterwards. Returns LAPACK's info.
lapack_int InverseIteration(const std::vector<double>& d, const std::vector<double>& e, std::size_t kept,
                            std::vector<double>& z) {
  const auto n = static_cast<lapack_int>(d.size());
  lapack_int found = 0, blocks = 0;
  std::vector<double> w(d.size());
  std::vector<lapack_int> block(d.size()), split(d.size()), failed(kept);
  lapack_int info = LAPACKE_dstebz('I', 'B', n, 0, 0, n - static_cast<lapack_int>(kept) + 1, n, 0, d.data(), e.data(),
                                   &found, &blocks, w.data(), block.data(), split.data());
  if (info != 0 || found != static_cast<lapack_int>(kept)) return info != 0 ? info : -1;
  info = LAPACKE_dstein(LAPACK_COL_MAJOR, n, d.data(), e.data(), found, w.data(), block.data(), split.data(), z.data(),
                        n, failed.data());
  if (info != 0) return info;
  // Within each split-off block the values ascend; put all in ascending order.
  for (std::size_t i = 0; i < kept; ++i) {
    const std::size_t smallest = static_cast<std::size_t>(std::min_element(w.begin() + i, w.begin() + kept) - w.begin());
    if (smallest == i) continue;
    std::swap(w[i], w[smallest]);
    std::swap_ranges(z.begin() + i * d.size(), z.begin() + (i + 1) * d.size(), z.begin() + smallest * d.size());
  }
  return 0;
}

// What a solver leaves: LAPACK's info, every eigenvalue ascending, and the vectors of the `kept`
// largest as the last of the `available` columns of the matrix's own block, or of vectors when
// the solver keeps them apart from it.
struct Solved {
  lapack_int info = 0;
  std::vector<double> values;
  std::vector<double> vectors;
  bool inBlock = false;
  std::size_t available = 0, kept = 0;
};

// The decomposition by solve(block, bound) on a thread of its own, as an EigenSystem. A block the
// vectors were kept apart from is released before they are widened.
EigenSystem Decompose(SolverMatrix matrix, std::size_t n, const SolverProgress& progress,
                      const std::function<Solved(std::vector<double>& block, Real bound)>& solve) {
  EigenSystem result;
  result.frobeniusSquare = matrix.frobeniusSquare;
  if (!std::isfinite(result.frobeniusSquare)) {
    result.outcome = JacobiOutcome::NotFinite;
    return result;
  }
  Solved solved;
  const Real bound = LapackEigenvalueBound(result.frobeniusSquare, n);
  if (!RunSolver([&] { solved = solve(matrix.columns, bound); }, progress)) {
    result.outcome = JacobiOutcome::Cancelled;
    return result;
  }
  if (solved.info == LAPACK_WORK_MEMORY_ERROR || solved.info == LAPACK_TRANSPOSE_MEMORY_ERROR) throw std::bad_alloc();
  if (solved.info != 0) {
    result.outcome = JacobiOutcome::SolverFailed;
    return result;
  }
  if (!solved.inBlock) std::vector<double>().swap(matrix.columns);
  const double* columns = solved.inBlock ? matrix.columns.data() : solved.vectors.data();
  Assemble(result, solved.values, columns, solved.available, solved.kept, n);
  return result;
}

}  // namespace

Real LapackEigenvalueBound(Real frobeniusSquare, std::size_t n) {
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
  return Decompose(std::move(matrix), n, progress, [n](std::vector<double>& a, Real bound) {
    Solved solved;
    solved.values.resize(n);
    const auto order = static_cast<lapack_int>(n);
    solved.info = LAPACKE_dsyevd(LAPACK_COL_MAJOR, 'V', 'U', order, a.data(), order, solved.values.data());
    solved.inBlock = true;
    solved.available = n;
    solved.kept = CountAbove(solved.values, bound);
    return solved;
  });
}

EigenSystem RelativelyRobustEigen(SolverMatrix matrix, std::size_t n, const SolverProgress& progress) {
  return Decompose(std::move(matrix), n, progress, [n](std::vector<double>& a, Real bound) {
    Solved solved;
    // d and e the tridiagonal matrix Q^T B Q, Q given by the reflectors left in a and tau; e has
    // room for the n-th element dstemr works in.
    std::vector<double> d(n), e(n), tau(n);
    const auto order = static_cast<lapack_int>(n);
    solved.info = LAPACKE_dsytrd(LAPACK_COL_MAJOR, 'U', order, a.data(), order, d.data(), e.data(), tau.data());
    if (solved.info != 0) return solved;
    solved.values = d;
    std::vector<double> scratch(e);
    solved.info = LAPACKE_dsterf(order, solved.values.data(), scratch.data());
    if (solved.info != 0) return solved;
    const std::size_t kept = CountAbove(solved.values, bound);
    solved.available = solved.kept = kept;
    if (kept == 0) return solved;
    std::vector<double>& z = solved.vectors;
    z.resize(n * kept);
    solved.info = RobustVectors(d, e, solved.values, n - kept, z.data());
    if (solved.info != 0) solved.info = InverseIteration(d, e, kept, z);
    if (solved.info == 0) {
      solved.info = LAPACKE_dormtr(LAPACK_COL_MAJOR, 'L', 'U', 'N', order, static_cast<lapack_int>(kept), a.data(),
                                   order, tau.data(), z.data(), order);
    }
    return solved;
  });
}

}  // namespace vorn
