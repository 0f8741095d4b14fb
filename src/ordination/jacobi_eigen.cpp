// The rotations keep the numbers of the method as written: each element is computed by the same
// operations in the same order, only the bookkeeping differs. B is kept as its packed upper
// triangle (the only part the method reads), so a rotation touches row p and q contiguously and
// columns p and q once per row above. Each row keeps its largest magnitude (as an integer key)
// and that element's first column: a rotation scans rows p and q afresh and refreshes the other
// rows through the element it changed, rescanning a row only when its largest shrank; the pivot
// search reads the largest of each block of rows. The rotations of V wait in chunks and pass
// over it row by row, on a second core behind the main loop. B and V are held as split slots;
// should a split store ever lose bits, the decomposition starts again in the extended format.
#include "ordination/jacobi_eigen.h"

#include <omp.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <type_traits>
#include <utility>

#include "ordination/magnitude_key.h"
#include "ordination/vector_rotations.h"

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
inline void Prefetch(const RealSlot* x) { __builtin_prefetch(x, 1); }

// Each row keeps the key of its largest magnitude right of the diagonal and that element's
// first column, as a scan in column order with strict comparison finds them. The keys are also
// kept as the largest of each block of rows, so that the pivot search reads a block's rows only
// when a key there shrank or the block holds the pivot. Slots is the format B is held in.
template <class Slots>
class PivotRows {
 public:
  PivotRows(const RealSlot* const* rows, std::size_t n)
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
    const LargestMagnitude largest = LargestMagnitudeOf<Slots>(rows_[row], row + 1, n_);
    Set(row, largest.key, largest.column);
  }

  // Element (row, column) now holds value; false when the row must be scanned again because
  // its largest element shrank.
  bool Changed(std::size_t row, std::size_t column, const RealSlot& value) {
    const MagnitudeKey key = KeyOf<Slots>(value), largest = keys_[row];
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

  const RealSlot* const* rows_;
  std::size_t n_;
  std::vector<std::size_t> columns_;
  std::vector<MagnitudeKey> keys_;
  std::vector<MagnitudeKey> blockKeys_;  // the largest of keys_ in each block of rows, unless stale
  std::vector<char> stale_;
};

bool OwnVectorThread(VectorThread choice, std::size_t n) {
  switch (choice) {
    case VectorThread::Own: return true;
    case VectorThread::Same: return false;
    case VectorThread::Auto: break;
  }
  return n >= kVectorThreadFrom && omp_get_max_threads() > 1;
}

// What the rotations work on and keep up to date.
struct Rotating {
  const std::vector<RealSlot*>& row;  // row[i][j] is element (i, j) for j >= i
  std::size_t n;
  Real total, diagonal;  // T, and the diagonal's squared sum D as the rotations keep it
  const JacobiProgress& progress;
  EigenSystem& result;
};

// Rotates B, held as Slots, until it converges, gives up or is cancelled (the outcome says which);
// false as soon as a split store lost bits, here or in the vectors.
template <class Slots>
bool Rotate(Rotating& state, VectorRotations<Slots>& vectors) {
  constexpr bool kSplit = std::is_same_v<Slots, SplitSlots>;
  const std::vector<RealSlot*>& row = state.row;
  const std::size_t n = state.n;
  const std::size_t limit = JacobiRotationLimit(n);
  PivotRows<Slots> rows(row.data(), n);
  std::vector<std::size_t> rescan;
  EigenSystem& result = state.result;
  for (;;) {
    const auto [p, q] = rows.Pivot();
    RealSlot* bp = row[p];
    RealSlot* bq = row[q];
    const Real bpq = Slots::Load(bp[q]);
    Real bpp = Slots::Load(bp[p]), bqq = Slots::Load(bq[q]);
    const JacobiRotation r = RotationFor(bpp, bqq, bpq);
    if constexpr (kSplit) ClearX87Flags();
    rescan.clear();
    // A band of rows is rotated first and then told to its rows, so that the x87 unit keeps c
    // and s through the rotations and the band's lines are still in the first-level cache.
    for (std::size_t from = 0; from < p; from += kBand) {
      const std::size_t to = std::min(p, from + kBand);
      for (std::size_t l = from; l < to; ++l) {  // (B[l][p], B[l][q])
        if (l + kAhead < p) Prefetch(row[l + kAhead] + p), Prefetch(row[l + kAhead] + q);
        RotatePair<Slots>(r, row[l][p], row[l][q]);
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
        RotatePair<Slots>(r, bp[m], row[m][q]);
      }
      for (std::size_t m = from; m < to; ++m) {
        if (!rows.Changed(m, q, row[m][q])) rescan.push_back(m);
      }
    }
    for (std::size_t m = q + 1; m < n; ++m) RotatePair<Slots>(r, bp[m], bq[m]);  // (B[p][m], B[q][m])
    RotateDiagonal(r, bpq, bpp, bqq);
    Slots::Store(bp[p], bpp);
    Slots::Store(bq[q], bqq);
    Slots::Store(bp[q], 0);
    if constexpr (kSplit) {
      if (!SplitStoresExact()) return false;
    }
    vectors.Push(p, q, r);
    state.diagonal = state.diagonal + 2 * bpq * bpq;
    // Rows p and q changed throughout and are scanned afresh, from the first-level cache.
    rescan.push_back(p);
    if (q + 1 < n) rescan.push_back(q);
    for (const std::size_t k : rescan) rows.Rescan(k);

    ++result.rotations;
    if (result.rotations > limit) {
      result.outcome = JacobiOutcome::TooManyRotations;
      return true;
    }
    if (JacobiConverged(state.total, state.diagonal)) return true;
    if (result.rotations % kProgressEvery == 0) {
      if (vectors.Lost()) return false;
      if (state.progress && !state.progress(result.rotations, (state.total - state.diagonal) / state.total)) {
        result.outcome = JacobiOutcome::Cancelled;
        return true;
      }
    }
  }
}

// The decomposition with B and V held as Slots; nothing when a split store lost bits. The split
// run leaves the matrix as it was, for the run in the extended format; that one uses it up.
template <class Slots>
std::optional<EigenSystem> Solve(std::vector<Real>& upper, std::size_t n, Real total, Real diagonal, bool offDiagonalMass,
                                 const JacobiProgress& progress, VectorThread thread) {
  std::vector<RealSlot> slots(upper.size());
  for (std::size_t k = 0; k < upper.size(); ++k) {
    Slots::Store(slots[k], upper[k]);
    if (Slots::Load(slots[k]) != upper[k]) return std::nullopt;
  }
  if constexpr (std::is_same_v<Slots, ExtendedSlots>) std::vector<Real>().swap(upper);
  std::vector<RealSlot*> row(n);
  for (std::size_t i = 0; i < n; ++i) row[i] = slots.data() + UpperOffset(n, i);
  EigenSystem result;
  result.frobeniusSquare = total;
  VectorRotations<Slots> vectors(n, OwnVectorThread(thread, n));
  // Without off-diagonal mass the matrix is diagonal already (and T/D may be 0/0).
  if (n >= 2 && offDiagonalMass) {
    Rotating state{row, n, total, diagonal, progress, result};
    if (!Rotate<Slots>(state, vectors)) return std::nullopt;
    if (result.outcome != JacobiOutcome::Converged) return result;
  }
  vectors.Complete();
  if (vectors.Lost()) return std::nullopt;
  result.values.resize(n);
  for (std::size_t i = 0; i < n; ++i) result.values[i] = Slots::Load(row[i][i]);
  std::vector<RealSlot>().swap(slots);
  std::vector<Real>().swap(upper);
  result.vectors = vectors.ColumnMajor();
  SortEigenpairs(result.values, result.vectors, n);
  return result;
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
  Real diagonal = 0, offDiagonal = 0;
  for (std::size_t i = 0; i < n; ++i) {
    const Real* row = upper.data() + UpperOffset(n, i);
    diagonal += row[i] * row[i];
    for (std::size_t j = i + 1; j < n; ++j) offDiagonal += row[j] * row[j];
  }
  const Real total = 2 * offDiagonal + diagonal;
  if (!std::isfinite(total)) {
    EigenSystem result;
    result.frobeniusSquare = total;
    result.outcome = JacobiOutcome::NotFinite;
    return result;
  }
  if (auto split = Solve<SplitSlots>(upper, n, total, diagonal, offDiagonal > 0, progress, thread)) return std::move(*split);
  return *Solve<ExtendedSlots>(upper, n, total, diagonal, offDiagonal > 0, progress, thread);
}

}  // namespace vorn
