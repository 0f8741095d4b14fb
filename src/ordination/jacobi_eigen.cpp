// The rotations keep the numbers of the method as written: each element is computed by the same
// operations in the same order, only the bookkeeping differs. B is kept as its packed upper
// triangle (the only part the method reads), so a rotation touches row p and q contiguously and
// columns p and q once per row above. Each row keeps its largest magnitude (as an integer key)
// and that element's first column: a rotation scans rows p and q afresh and refreshes the other
// rows through the element it changed, rescanning a row only when its largest shrank; the pivot
// search reads the largest of each block of rows. The rotations of V wait in chunks and pass
// over it row by row, on a second core behind the main loop.
#include "ordination/jacobi_eigen.h"

#include <omp.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <memory>
#include <thread>
#include <utility>

#include "ordination/magnitude_key.h"

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
constexpr std::size_t kAhead = 32;
constexpr std::size_t kBand = 64;  // rows rotated before their largest elements are brought up to date
inline void Prefetch(const Real* x) { __builtin_prefetch(x, 1); }

// (x, y) := (c x + s y, c y - s x).
inline void RotatePair(JacobiRotation r, Real& x, Real& y) {
  const Real ox = x, oy = y;
  x = r.c * ox + r.s * oy;
  y = r.c * oy - r.s * ox;
}

// Each row keeps the key of its largest magnitude right of the diagonal and that element's
// first column, as a scan in column order with strict comparison finds them. The keys are also
// kept as the largest of each block of rows, so that the pivot search reads a block's rows only
// when a key there shrank or the block holds the pivot.
class PivotRows {
 public:
  PivotRows(const Real* const* rows, std::size_t n)
      : rows_(rows), n_(n), columns_(n), keys_(n), blockKeys_((n + kBlock - 1) / kBlock), stale_(blockKeys_.size()) {
    for (std::size_t row = 0; row + 1 < n_; ++row) Rescan(row);
  }

  // Row and column of the pivot: the first row holding the overall largest, as a row-major scan
  // with strict comparison finds it (the last row, right of which nothing lies, keeps key 0).
  std::pair<std::size_t, std::size_t> Pivot() {
    std::size_t best = 0;
    for (std::size_t block = 0; block < blockKeys_.size(); ++block) {
      if (stale_[block]) Refresh(block);
      if (blockKeys_[block] > blockKeys_[best]) best = block;
    }
    std::size_t p = best * kBlock;
    while (keys_[p] != blockKeys_[best]) ++p;
    return {p, columns_[p]};
  }

  void Rescan(std::size_t row) {
    const LargestMagnitude largest = LargestMagnitudeOf(rows_[row], row + 1, n_);
    Set(row, largest.key, largest.column);
  }

  // Element (row, column) now holds value; false when the row must be scanned again because
  // its largest element shrank.
  bool Changed(std::size_t row, std::size_t column, const Real& value) {
    const MagnitudeKey key = KeyOf(value), largest = keys_[row];
    if (column == columns_[row]) {
      if (key < largest) return false;
      if (key > largest) Set(row, key, column);
    } else if (key > largest || (key == largest && column < columns_[row])) {
      Set(row, key, column);
    }
    return true;
  }

 private:
  static constexpr std::size_t kBlock = 32;

  void Set(std::size_t row, MagnitudeKey key, std::size_t column) {
    columns_[row] = column;
    const MagnitudeKey old = keys_[row];
    keys_[row] = key;
    const std::size_t block = row / kBlock;
    if (stale_[block]) return;
    if (key >= blockKeys_[block]) blockKeys_[block] = key;
    else if (old == blockKeys_[block]) stale_[block] = true;  // its largest may have shrunk
  }

  void Refresh(std::size_t block) {
    const std::size_t from = block * kBlock, to = std::min(n_, from + kBlock);
    blockKeys_[block] = *std::max_element(keys_.begin() + from, keys_.begin() + to);
    stale_[block] = false;
  }

  const Real* const* rows_;
  std::size_t n_;
  std::vector<std::size_t> columns_;
  std::vector<MagnitudeKey> keys_;
  std::vector<MagnitudeKey> blockKeys_;  // the largest of keys_ in each block of rows, unless stale
  std::vector<char> stale_;
};

// Records the rotations in their order, a chunk at a time, and applies them to V by rows: a row
// of V stays in the first-level cache while a whole chunk passes over it, and each element
// still goes through the same rotations in the same order. A second thread takes each full
// chunk over every row while the main loop fills the next; whatever is left when the loop ends
// is applied by two threads, each on rows of its own. Without that thread a full chunk is
// applied in line.
class VectorRotations {
 public:
  // vectors is row-major here (row k holds component k of every vector).
  VectorRotations(std::vector<Real>& vectors, std::size_t n, bool ownThread) : v_(vectors.data()), n_(n) {
    ring_[0] = std::make_unique<Chunk>();
    if (ownThread) worker_ = std::thread([this] { Work(); });
  }
  ~VectorRotations() { Stop(); }

  void Push(std::size_t p, std::size_t q, JacobiRotation r) {
    Chunk& chunk = *ring_[filling_ % kRing];
    chunk.p[chunk.count] = static_cast<std::uint32_t>(p);
    chunk.q[chunk.count] = static_cast<std::uint32_t>(q);
    chunk.c[chunk.count] = r.c;
    chunk.s[chunk.count] = r.s;
    if (++chunk.count < kChunk) return;
    if (!worker_.joinable()) {
      ApplyToRows(chunk, 0, n_);
      chunk.count = 0;
      return;
    }
    // Hand the chunk over and take the next slot of the ring once the worker has left it, so
    // that memory stays bounded when the worker falls behind.
    ++filling_;
    published_.store(filling_, std::memory_order_release);
    Signal();
    for (std::size_t done; filling_ - (done = applied_.load(std::memory_order_acquire)) >= kRing;) {
      applied_.wait(done, std::memory_order_acquire);
    }
    std::unique_ptr<Chunk>& slot = ring_[filling_ % kRing];
    if (!slot) slot = std::make_unique<Chunk>();
    slot->count = 0;
  }

  // Applies every rotation pushed; V is complete afterwards. The worker's thread, when there
  // was one, takes the second half of the rows.
  void Finish() {
    const bool two = worker_.joinable();
    Stop();
    const std::size_t from = applied_.load(std::memory_order_acquire), to = filling_;
    // Each block of rows takes the chunks in order, so every element sees the rotations in order.
    const auto apply = [this, from, to](std::size_t first, std::size_t last) {
      for (std::size_t k = first; k < last; k += kRowBlock) {
        for (std::size_t c = from; c <= to; ++c) ApplyToRows(*ring_[c % kRing], k, std::min(last, k + kRowBlock));
      }
    };
    const std::size_t half = two ? n_ / 2 : n_;
    std::thread other;
    if (half < n_) other = std::thread(apply, half, n_);
    apply(0, half);
    if (other.joinable()) other.join();
  }

 private:
  static constexpr std::size_t kChunk = 8192;  // rotations: 320 KB, held in the second-level cache
  static constexpr std::size_t kRing = 64;     // chunks the main loop may run ahead of the worker
  static constexpr std::size_t kRowBlock = 64;  // rows the worker takes a chunk over at a time

  struct Chunk {
    std::size_t count = 0;
    std::uint32_t p[kChunk], q[kChunk];
    Real c[kChunk], s[kChunk];
  };

  // Two rows at a time share the loads of each rotation. Kept out of interprocedural analysis:
  // GCC 12 at -O2 took it for free of side effects and dropped the calls in Finish.
  [[gnu::noipa]] void ApplyToRows(const Chunk& chunk, std::size_t from, std::size_t to) const {
    std::size_t k = from;
    for (; k + 2 <= to; k += 2) {
      Real* a = v_ + k * n_;
      Real* b = a + n_;
      for (std::size_t i = 0; i < chunk.count; ++i) {
        const JacobiRotation r{chunk.c[i], chunk.s[i]};
        const std::uint32_t p = chunk.p[i], q = chunk.q[i];
        RotatePair(r, a[p], a[q]);
        RotatePair(r, b[p], b[q]);
      }
    }
    for (; k < to; ++k) {
      Real* a = v_ + k * n_;
      for (std::size_t i = 0; i < chunk.count; ++i) RotatePair({chunk.c[i], chunk.s[i]}, a[chunk.p[i]], a[chunk.q[i]]);
    }
  }

  void Signal() {
    events_.fetch_add(1, std::memory_order_release);
    events_.notify_one();
  }

  // Takes the published chunks in order over every row, until told to stop.
  void Work() {
    for (std::size_t next = 0;;) {
      const std::size_t seen = events_.load(std::memory_order_acquire);
      if (stop_.load(std::memory_order_acquire)) return;
      if (next == published_.load(std::memory_order_acquire)) {
        events_.wait(seen, std::memory_order_acquire);
        continue;
      }
      const Chunk& chunk = *ring_[next % kRing];
      for (std::size_t k = 0; k < n_; k += kRowBlock) ApplyToRows(chunk, k, std::min(n_, k + kRowBlock));
      applied_.store(++next, std::memory_order_release);
      applied_.notify_one();
    }
  }

  void Stop() {
    if (!worker_.joinable()) return;
    stop_.store(true, std::memory_order_release);
    Signal();
    worker_.join();
  }

  Real* v_;
  std::size_t n_;
  std::array<std::unique_ptr<Chunk>, kRing> ring_;  // chunk i in slot i % kRing
  std::size_t filling_ = 0;                           // the chunk the main loop fills
  std::atomic<std::size_t> published_{0}, applied_{0};  // chunks handed over / done by the worker
  std::atomic<std::size_t> events_{0};                  // counts hand-overs and the stop, to wake the worker
  std::atomic<bool> stop_{false};
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
      // A band of rows is rotated first and then told to its rows, so that the x87 unit keeps c
      // and s through the rotations and the band's lines are still in the first-level cache.
      for (std::size_t from = 0; from < p; from += kBand) {
        const std::size_t to = std::min(p, from + kBand);
        for (std::size_t l = from; l < to; ++l) {  // (B[l][p], B[l][q])
          if (l + kAhead < p) Prefetch(row[l + kAhead] + p), Prefetch(row[l + kAhead] + q);
          RotatePair(r, row[l][p], row[l][q]);
        }
        for (std::size_t l = from; l < to; ++l) {
          const bool current = rows.Changed(l, p, row[l][p]);
          if (!rows.Changed(l, q, row[l][q]) || !current) rescan.push_back(l);
        }
      }
      for (std::size_t from = p + 1; from < q; from += kBand) {
        const std::size_t to = std::min(q, from + kBand);
        for (std::size_t m = from; m < to; ++m) {  // (B[p][m], B[m][q])
          if (m + kAhead < q) Prefetch(row[m + kAhead] + q);
          RotatePair(r, bp[m], row[m][q]);
        }
        for (std::size_t m = from; m < to; ++m) {
          if (!rows.Changed(m, q, row[m][q])) rescan.push_back(m);
        }
      }
      for (std::size_t m = q + 1; m < n; ++m) RotatePair(r, bp[m], bq[m]);  // (B[p][m], B[q][m])
      diagonal = diagonal + 2 * bpq * bpq;
      RotateDiagonal(r, bpq, bp[p], bq[q]);
      bp[q] = 0;
      // Rows p and q changed throughout and are scanned afresh, from the first-level cache.
      rescan.push_back(p);
      if (q + 1 < n) rescan.push_back(q);
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
    vectors.Finish();
  }
  // V was rotated by rows; the vectors are its columns.
  for (std::size_t i = 0; i < n; ++i) {
    for (std::size_t j = i + 1; j < n; ++j) std::swap(result.vectors[i * n + j], result.vectors[j * n + i]);
  }
  result.values.resize(n);
  for (std::size_t i = 0; i < n; ++i) result.values[i] = row[i][i];
  SortEigenpairs(result.values, result.vectors, n);
  return result;
}

}  // namespace vorn
