#include "stats/jacobi_eigen.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace vorn {
namespace {

constexpr std::size_t kProgressEvery = 1024;  // rotations between two progress calls

Real Sign(Real x) { return x < 0 ? -1 : 1; }  // sgn(0) = 1

// sqrt(a^2 + b^2) without overflow: |a| sqrt(1 + (b/a)^2) with the larger magnitude as a.
Real Hypotenuse(Real a, Real b) {
  a = std::fabs(a);
  b = std::fabs(b);
  if (a < b) std::swap(a, b);
  if (a == 0) return 0;
  const Real ratio = b / a;
  return a * std::sqrt(1 + ratio * ratio);
}

// The largest |element| of each row of the upper triangle and its first column, kept up to date
// through the rotations. The first row holding the overall largest is the row of the pivot that
// a row-major scan with strict comparison finds.
class PivotRows {
 public:
  PivotRows(const std::vector<Real>& b, std::size_t n) : b_(b), n_(n), largest_(n, 0), column_(n, 0) {
    for (std::size_t row = 0; row + 1 < n_; ++row) Rescan(row);
  }

  // Row and column of the pivot.
  std::pair<std::size_t, std::size_t> Pivot() const {
    std::size_t p = 0;
    for (std::size_t row = 1; row + 1 < n_; ++row) {
      if (largest_[row] > largest_[p]) p = row;
    }
    return {p, column_[p]};
  }

  void Rescan(std::size_t row) {
    const Real* r = &b_[row * n_];
    std::size_t best = row + 1;
    Real largest = std::fabs(r[best]);
    for (std::size_t m = row + 2; m < n_; ++m) {
      const Real a = std::fabs(r[m]);
      if (a > largest) largest = a, best = m;
    }
    largest_[row] = largest;
    column_[row] = best;
  }

  // Element (row, column) of the upper triangle now holds value; false when the row must be
  // scanned again because its largest element shrank.
  bool Changed(std::size_t row, std::size_t column, Real value) {
    const Real a = std::fabs(value);
    if (column == column_[row]) {
      if (a < largest_[row]) return false;
      largest_[row] = a;
    } else if (a > largest_[row] || (a == largest_[row] && column < column_[row])) {
      largest_[row] = a;
      column_[row] = column;
    }
    return true;
  }

 private:
  const std::vector<Real>& b_;
  std::size_t n_;
  std::vector<Real> largest_;
  std::vector<std::size_t> column_;
};

}  // namespace

std::size_t JacobiRotationLimit(std::size_t n) {
  return std::max<std::size_t>(10000, 50 * (n * (n - 1) / 2));
}

JacobiRotation RotationFor(Real bpp, Real bqq, Real bpq) {
  const Real delta = bpp - bqq;
  if (delta == 0) {
    const Real c = 1 / std::sqrt(Real(2));
    return {c, Sign(bpq) * c};
  }
  const Real w = Sign(delta) * 2 * bpq;
  const Real r = Hypotenuse(delta, w);
  const Real c = std::sqrt((std::fabs(delta) / r + 1) / 2);
  return {c, w / (2 * r * c)};
}

void RotateDiagonal(JacobiRotation r, Real bpq, Real& bpp, Real& bqq) {
  const Real cc = r.c * r.c, ss = r.s * r.s, cs2 = 2 * r.c * r.s;
  const Real p = bpp, q = bqq;
  bpp = cc * p + ss * q + cs2 * bpq;
  bqq = ss * p + cc * q - cs2 * bpq;
}

bool JacobiConverged(Real frobeniusSquare, Real diagonalSquare) {
  return std::fabs(1 - frobeniusSquare / diagonalSquare) < kJacobiTolerance;
}

void SortEigenpairs(std::vector<Real>& values, std::vector<Real>& vectors, std::size_t n) {
  for (std::size_t i = 0; i < n; ++i) {
    std::size_t largest = i;
    for (std::size_t j = i + 1; j < n; ++j) {
      if (values[j] > values[largest]) largest = j;
    }
    if (largest != i) {
      std::swap(values[i], values[largest]);
      std::swap_ranges(vectors.begin() + i * n, vectors.begin() + (i + 1) * n, vectors.begin() + largest * n);
    }
  }
  for (std::size_t k = 0; k < n; ++k) {
    Real* v = &vectors[k * n];
    if (v[0] < 0) std::transform(v, v + n, v, [](Real x) { return -x; });
  }
}

EigenSystem JacobiEigen(std::vector<Real> b, std::size_t n, const JacobiProgress& progress) {
  EigenSystem result;
  result.vectors.assign(n * n, 0);
  for (std::size_t k = 0; k < n; ++k) result.vectors[k * n + k] = 1;
  Real diagonal = 0, offDiagonal = 0;
  for (std::size_t i = 0; i < n; ++i) diagonal += b[i * n + i] * b[i * n + i];
  for (std::size_t i = 0; i < n; ++i) {
    for (std::size_t j = i + 1; j < n; ++j) offDiagonal += b[i * n + j] * b[i * n + j];
  }
  const Real total = 2 * offDiagonal + diagonal;
  result.frobeniusSquare = total;

  // Without off-diagonal mass the matrix is diagonal already (and T/D may be 0/0).
  if (n >= 2 && offDiagonal > 0) {
    PivotRows rows(b, n);
    const std::size_t limit = JacobiRotationLimit(n);
    std::vector<std::size_t> rescan;
    for (;;) {
      const auto [p, q] = rows.Pivot();
      Real* bp = &b[p * n];
      Real* bq = &b[q * n];
      const Real bpq = bp[q];
      const JacobiRotation r = RotationFor(bp[p], bq[q], bpq);
      Real* vp = &result.vectors[p * n];
      Real* vq = &result.vectors[q * n];
      for (std::size_t k = 0; k < n; ++k) {
        const Real x = vp[k], y = vq[k];
        vp[k] = r.c * x + r.s * y;
        vq[k] = r.c * y - r.s * x;
      }
      rescan.clear();
      for (std::size_t k = 0; k < n; ++k) {
        if (k == p || k == q) continue;
        const Real x = bp[k], y = bq[k];
        const Real nx = r.c * x + r.s * y, ny = r.c * y - r.s * x;
        bp[k] = nx;
        bq[k] = ny;
        Real* bk = &b[k * n];
        bk[p] = nx;
        bk[q] = ny;
        if (k < q) {
          bool current = k > p || rows.Changed(k, p, nx);
          current = rows.Changed(k, q, ny) && current;
          if (!current) rescan.push_back(k);
        }
      }
      diagonal = diagonal + 2 * bpq * bpq;
      RotateDiagonal(r, bpq, bp[p], bq[q]);
      bp[q] = 0;
      bq[p] = 0;
      rows.Rescan(p);
      if (q + 1 < n) rows.Rescan(q);
      for (const std::size_t k : rescan) rows.Rescan(k);

      ++result.rotations;
      if (result.rotations > limit) {
        result.outcome = JacobiOutcome::TooManyRotations;
        return result;
      }
      if (JacobiConverged(total, diagonal)) break;
      if (progress && result.rotations % kProgressEvery == 0 && !progress(result.rotations, (total - diagonal) / total)) {
        result.outcome = JacobiOutcome::Cancelled;
        return result;
      }
    }
  }
  result.values.resize(n);
  for (std::size_t i = 0; i < n; ++i) result.values[i] = b[i * n + i];
  SortEigenpairs(result.values, result.vectors, n);
  return result;
}

}  // namespace vorn
