// The rotations keep the numbers of the method as written: each element is computed by the same
// operations in the same order, only the bookkeeping differs. B is kept as its packed upper
// triangle (the only part the method reads), so a rotation touches row p and q contiguously and
// columns p and q once per row above. Each row keeps its largest magnitude and that element's
// first column; a rotation refreshes rows p and q while rotating them and the rows above
// through the two elements it changed, rescanning a row only when its largest shrank. V is kept
// by columns and, on a second core, rotated behind the main loop from a queue of rotations in
// their order.
#include "ordination/jacobi_eigen.h"

#include <omp.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <thread>
#include <utility>

namespace vorn {
namespace {

constexpr std::size_t kProgressEvery = 1024;  // rotations between two progress calls
constexpr std::size_t kVectorThreadFrom = 100;  // rows; smaller matrices rotate V in line

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

// Column p and q of the rows above lie one cache line per row apart: asked for this many rows
// ahead, so that the lines arrive while earlier rows are rotated.
constexpr std::size_t kAhead = 16;
inline void Prefetch(const Real* x) { __builtin_prefetch(x, 1); }

// (x, y) := (c x + s y, c y - s x).
inline void RotatePair(JacobiRotation r, Real& x, Real& y) {
  const Real ox = x, oy = y;
  x = r.c * ox + r.s * oy;
  y = r.c * oy - r.s * ox;
}

// |x| as an integer that orders magnitudes as the reals do: the biased exponent above the 64-bit
// significand of the extended format, whose leading bit is explicit (zero and subnormal numbers
// have exponent 0 and lie below every normal one). Equal magnitudes give equal keys, so the
// rescans compare without the floating-point unit.
static_assert(std::numeric_limits<Real>::digits == 64 && std::numeric_limits<Real>::max_exponent == 16384,
              "Real is the 80-bit extended format");
using MagnitudeKey = unsigned __int128;
inline MagnitudeKey KeyOf(const Real& x) {
  std::uint64_t significand;
  std::uint16_t signAndExponent;
  std::memcpy(&significand, &x, sizeof significand);
  std::memcpy(&signAndExponent, reinterpret_cast<const char*>(&x) + sizeof significand, sizeof signAndExponent);
  return static_cast<MagnitudeKey>(signAndExponent & 0x7fff) << 64 | significand;
}

// The largest magnitude of a row's elements right of the diagonal and its first column, found
// as a scan in column order with strict comparison finds them.
struct RowLargest {
  Real magnitude = -1;
  std::size_t column = 0;
  void Offer(Real value, std::size_t at) {
    const Real a = std::fabs(value);
    if (a > magnitude) magnitude = a, column = at;
  }
};

class PivotRows {
 public:
  PivotRows(const Real* const* rows, std::size_t n) : rows_(rows), n_(n), largest_(n), keys_(n) {
    for (std::size_t row = 0; row + 1 < n_; ++row) Rescan(row);
  }

  // Row and column of the pivot: the first row holding the overall largest, as a row-major scan
  // with strict comparison finds it.
  std::pair<std::size_t, std::size_t> Pivot() const {
    std::size_t p = 0;
    for (std::size_t row = 1; row + 1 < n_; ++row) {
      if (keys_[row] > keys_[p]) p = row;
    }
    return {p, largest_[p].column};
  }

  void Rescan(std::size_t row) {
    const Real* r = rows_[row];
    std::size_t column = row + 1;
    MagnitudeKey largest = KeyOf(r[column]);
    for (std::size_t m = row + 2; m < n_; ++m) {
      const MagnitudeKey key = KeyOf(r[m]);
      if (key > largest) largest = key, column = m;
    }
    Set(row, {std::fabs(r[column]), column});
  }
  void Set(std::size_t row, RowLargest largest) {
    largest_[row] = largest;
    keys_[row] = KeyOf(largest.magnitude);
  }

  // Element (row, column) now holds value; false when the row must be scanned again because
  // its largest element shrank.
  bool Changed(std::size_t row, std::size_t column, Real value) {
    const RowLargest& largest = largest_[row];
    const Real a = std::fabs(value);
    if (column == largest.column) {
      if (a < largest.magnitude) return false;
      if (a > largest.magnitude) Set(row, {a, column});
    } else if (a > largest.magnitude || (a == largest.magnitude && column < largest.column)) {
      Set(row, {a, column});
    }
    return true;
  }

 private:
  const Real* const* rows_;
  std::size_t n_;
  std::vector<RowLargest> largest_;
  std::vector<MagnitudeKey> keys_;  // of largest_[row].magnitude, for the pivot search
};

// Applies the rotations to the columns of V in their order, in line or on a thread of its own
// that follows the main loop through a bounded queue. Either side sleeps while it has to wait.
class VectorRotations {
 public:
  VectorRotations(std::vector<Real>& vectors, std::size_t n, bool ownThread) : v_(vectors), n_(n) {
    if (ownThread) worker_ = std::thread([this] { Work(); });
  }
  ~VectorRotations() { Finish(); }

  void Push(std::size_t p, std::size_t q, JacobiRotation r) {
    if (!worker_.joinable()) return Apply({p, q, r});
    const std::size_t head = head_.load(std::memory_order_relaxed);
    for (std::size_t tail; head - (tail = tail_.load(std::memory_order_acquire)) == kCapacity;) tail_.wait(tail);
    queue_[head % kCapacity] = {p, q, r};
    head_.store(head + 1, std::memory_order_release);
    if ((head + 1) % kBatch == 0 || p == kStop) head_.notify_one();
  }

  // Waits until every rotation pushed is applied.
  void Finish() {
    if (!worker_.joinable()) return;
    Push(kStop, kStop, {});
    worker_.join();
  }

 private:
  struct Step {
    std::size_t p, q;
    JacobiRotation r;
  };
  static constexpr std::size_t kCapacity = 4096;
  static constexpr std::size_t kBatch = 64;  // the worker wakes for this many rotations at once
  static constexpr std::size_t kStop = static_cast<std::size_t>(-1);

  void Apply(const Step& step) {
    Real* vp = &v_[step.p * n_];
    Real* vq = &v_[step.q * n_];
    for (std::size_t k = 0; k < n_; ++k) RotatePair(step.r, vp[k], vq[k]);
  }

  void Work() {
    for (std::size_t tail = 0;;) {
      const std::size_t head = head_.load(std::memory_order_acquire);
      if (head - tail < kBatch && (tail == head || queue_[(head - 1) % kCapacity].p != kStop)) {
        head_.wait(head, std::memory_order_acquire);
        continue;
      }
      for (; tail != head; ++tail) {
        const Step& step = queue_[tail % kCapacity];
        if (step.p == kStop) return;
        Apply(step);
      }
      tail_.store(tail, std::memory_order_release);
      tail_.notify_one();
    }
  }

  std::vector<Real>& v_;
  std::size_t n_;
  std::vector<Step> queue_ = std::vector<Step>(kCapacity);
  std::atomic<std::size_t> head_{0}, tail_{0};
  std::thread worker_;
};

bool OwnVectorThread(VectorThread choice, std::size_t n) {
  switch (choice) {
    case VectorThread::Own: return true;
    case VectorThread::Same: return false;
    case VectorThread::Auto: break;
  }
  return n >= kVectorThreadFrom && omp_get_max_threads() > 1;
}

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

EigenSystem JacobiEigen(std::vector<Real> upper, std::size_t n, const JacobiProgress& progress, VectorThread thread) {
  EigenSystem result;
  result.vectors.assign(n * n, 0);
  for (std::size_t k = 0; k < n; ++k) result.vectors[k * n + k] = 1;
  // row[i][j] is element (i, j) for j >= i.
  std::vector<Real*> row(n);
  for (std::size_t i = 0; i < n; ++i) row[i] = upper.data() + UpperOffset(n, i);
  Real diagonal = 0, offDiagonal = 0;
  for (std::size_t i = 0; i < n; ++i) diagonal += row[i][i] * row[i][i];
  for (std::size_t i = 0; i < n; ++i) {
    for (std::size_t j = i + 1; j < n; ++j) offDiagonal += row[i][j] * row[i][j];
  }
  const Real total = 2 * offDiagonal + diagonal;
  result.frobeniusSquare = total;
  if (!std::isfinite(total)) {
    result.outcome = JacobiOutcome::NotFinite;
    return result;
  }

  // Without off-diagonal mass the matrix is diagonal already (and T/D may be 0/0).
  if (n >= 2 && offDiagonal > 0) {
    PivotRows rows(row.data(), n);
    VectorRotations vectors(result.vectors, n, OwnVectorThread(thread, n));
    const std::size_t limit = JacobiRotationLimit(n);
    std::vector<std::size_t> rescan;
    for (;;) {
      const auto [p, q] = rows.Pivot();
      Real* bp = row[p];
      Real* bq = row[q];
      const Real bpq = bp[q];
      const JacobiRotation r = RotationFor(bp[p], bq[q], bpq);
      vectors.Push(p, q, r);
      rescan.clear();
      for (std::size_t l = 0; l < p; ++l) {  // (B[l][p], B[l][q])
        if (l + kAhead < p) Prefetch(row[l + kAhead] + p), Prefetch(row[l + kAhead] + q);
        Real* bl = row[l];
        RotatePair(r, bl[p], bl[q]);
        const bool current = rows.Changed(l, p, bl[p]);
        if (!rows.Changed(l, q, bl[q]) || !current) rescan.push_back(l);
      }
      RowLargest largestP, largestQ;
      for (std::size_t m = p + 1; m < q; ++m) {  // (B[p][m], B[m][q])
        if (m + kAhead < q) Prefetch(row[m + kAhead] + q);
        RotatePair(r, bp[m], row[m][q]);
        largestP.Offer(bp[m], m);
        if (!rows.Changed(m, q, row[m][q])) rescan.push_back(m);
      }
      largestP.Offer(0, q);  // B[p][q] is annihilated
      for (std::size_t m = q + 1; m < n; ++m) {  // (B[p][m], B[q][m])
        RotatePair(r, bp[m], bq[m]);
        largestP.Offer(bp[m], m);
        largestQ.Offer(bq[m], m);
      }
      diagonal = diagonal + 2 * bpq * bpq;
      RotateDiagonal(r, bpq, bp[p], bq[q]);
      bp[q] = 0;
      rows.Set(p, largestP);
      if (q + 1 < n) rows.Set(q, largestQ);
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
  for (std::size_t i = 0; i < n; ++i) result.values[i] = row[i][i];
  SortEigenpairs(result.values, result.vectors, n);
  return result;
}

}  // namespace vorn
