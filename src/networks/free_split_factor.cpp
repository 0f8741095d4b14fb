#include "networks/free_split_factor.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "core/undefined_pairs.h"
#include "networks/factor_kernels.h"

namespace vorn {

FreeSplitFactor::FreeSplitFactor(std::size_t n, const std::vector<Real>& right)
    : n_(n), right_(right), first_(right.size()), last_(right.size()) {
  for (std::size_t j = 1; j < n; ++j) {
    for (std::size_t i = 0; i < j; ++i) first_[StrictPairIndex(j, i)] = i + 1, last_[StrictPairIndex(j, i)] = j;
  }
}

double FreeSplitFactor::Both(std::size_t s, std::size_t t) const {
  const std::size_t sa = last_[s] - first_[s] + 1, sb = last_[t] - first_[t] + 1;
  const std::size_t lo = std::max(first_[s], first_[t]), hi = std::min(last_[s], last_[t]);
  const std::size_t both = hi >= lo ? hi - lo + 1 : 0;
  return static_cast<double>(both * (n_ - sa - sb + both) + (sa - both) * (sb - both));
}

// Columns go by blocks of kBlockColumns: within a block each b is solved entry by entry, below
// it the block's columns are taken off b in one pass (FactorSubtractColumns), while they are in
// the cache for every b.
void FreeSplitFactor::Forward(std::vector<std::vector<double>>& bs) const {
  constexpr std::size_t kBlockColumns = 8;
  if (bs.empty()) return;
  const std::size_t m = bs.front().size();
  std::array<const double*, kBlockColumns> below;
  for (std::size_t c0 = 0; c0 < m; c0 += kBlockColumns) {
    const std::size_t c1 = std::min(c0 + kBlockColumns, m);
    for (std::size_t c = c0; c < c1; ++c) below[c - c0] = columns_[c].data() + (c1 - c);
    for (std::vector<double>& b : bs) {
      for (std::size_t c = c0; c < c1; ++c) {
        b[c] /= columns_[c][0];
        for (std::size_t r = c + 1; r < c1; ++r) b[r] -= b[c] * columns_[c][r - c];
      }
      FactorSubtractColumns(b.data() + c1, b.data() + c0, below.data(), c1 - c0, m - c1);
    }
  }
}

void FreeSplitFactor::Backward(std::vector<double>& b) const {
  const std::size_t m = b.size();
  for (std::size_t c = m; c-- > 0;) {
    b[c] = (b[c] - FactorDot(columns_[c].data() + 1, b.data() + c + 1, m - c - 1)) / columns_[c][0];
  }
}

void FreeSplitFactor::Free(const std::vector<std::size_t>& splits) {
  const std::size_t m = free_.size();
  std::vector<std::vector<double>> rows(splits.size(), std::vector<double>(m));
  for (std::size_t t = 0; t < splits.size(); ++t) {
    for (std::size_t a = 0; a < m; ++a) rows[t][a] = Both(splits[t], free_[a]);
  }
  Forward(rows);
  // The rows among themselves: row t's entry in the column of the freed split u < t.
  for (std::size_t t = 0; t < splits.size(); ++t) {
    std::vector<double>& row = rows[t];
    for (std::size_t u = 0; u < t; ++u) {
      row.push_back((Both(splits[t], splits[u]) - FactorDot(row.data(), rows[u].data(), m + u)) / columns_[m + u][0]);
    }
    const std::size_t length = row.size();
    const double diagonal = std::sqrt(Both(splits[t], splits[t]) - FactorDot(row.data(), row.data(), length));
    forward_.push_back((static_cast<double>(right_[splits[t]]) - FactorDot(row.data(), forward_.data(), length)) /
                       diagonal);
    for (std::size_t c = 0; c < length; ++c) columns_[c].push_back(row[c]);
    columns_.push_back({diagonal});
    free_.push_back(splits[t]);
  }
}

// Row and column r leave L. The rows below, with the old column r's entries x as one row more,
// are made triangular again by a plane rotation per column, each folding x into the column; the
// same rotations carry the forward solution, whose entry r is x's.
void FreeSplitFactor::Hold(std::size_t r) {
  std::vector<double> x(columns_[r].begin() + 1, columns_[r].end());
  double carried = forward_[r];
  columns_.erase(columns_.begin() + static_cast<std::ptrdiff_t>(r));
  forward_.erase(forward_.begin() + static_cast<std::ptrdiff_t>(r));
  free_.erase(free_.begin() + static_cast<std::ptrdiff_t>(r));
  for (std::size_t c = 0; c < r; ++c) columns_[c].erase(columns_[c].begin() + static_cast<std::ptrdiff_t>(r - c));
  const std::size_t m = free_.size();
  for (std::size_t k = r; k < m; ++k) {
    std::vector<double>& column = columns_[k];
    const double diagonal = column[0], xk = x[k - r];
    const double root = std::sqrt(diagonal * diagonal + xk * xk);
    const double cosine = root / diagonal, sine = xk / diagonal, inverseCosine = diagonal / root;
    column[0] = root;
    FactorRotate(column.data() + 1, x.data() + (k - r) + 1, cosine, sine, inverseCosine, m - k - 1);
    forward_[k] = (forward_[k] + sine * carried) * inverseCosine;
    carried = cosine * carried - sine * forward_[k];
  }
}

void FreeSplitFactor::HoldPositions(const std::vector<char>& hold) {
  for (std::size_t r = free_.size(); r-- > 0;) {
    if (hold[r]) Hold(r);
  }
}

std::vector<Real> FreeSplitFactor::Solve() const {
  std::vector<double> z = forward_;
  Backward(z);
  return std::vector<Real>(z.begin(), z.end());
}

std::vector<Real> FreeSplitFactor::Refined(const std::vector<Real>& x, const std::vector<Real>& g) const {
  std::vector<std::vector<double>> zs(1, std::vector<double>(free_.size()));
  std::vector<double>& z = zs.front();
  for (std::size_t a = 0; a < z.size(); ++a) z[a] = static_cast<double>(g[free_[a]]);
  Forward(zs);
  Backward(z);
  std::vector<Real> refined(free_.size());
  for (std::size_t a = 0; a < z.size(); ++a) refined[a] = x[free_[a]] + z[a];
  return refined;
}

}  // namespace vorn
