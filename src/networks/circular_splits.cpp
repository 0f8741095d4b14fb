#include "circular_splits.h"

#include "core/undefined_pairs.h"

namespace vorn {
namespace {

// Running sums S(r, c) of the values v(i, j) over i < r and j < c, (n + 1) x (n + 1).
class RectangleSums {
 public:
  template <class Value>
  RectangleSums(std::size_t n, Value value) : side_(n + 1), sums_(side_ * side_, 0) {
    for (std::size_t r = 0; r < n; ++r) {
      Real row = 0;
      for (std::size_t c = 0; c < n; ++c) {
        row += value(r, c);
        sums_[(r + 1) * side_ + c + 1] = sums_[r * side_ + c + 1] + row;
      }
    }
  }
  // The sum of v(i, j) over r0 <= i < r1, c0 <= j < c1.
  Real Sum(std::size_t r0, std::size_t r1, std::size_t c0, std::size_t c1) const {
    return S(r1, c1) - S(r0, c1) - S(r1, c0) + S(r0, c0);
  }

 private:
  Real S(std::size_t r, std::size_t c) const { return sums_[r * side_ + c]; }
  std::size_t side_;
  std::vector<Real> sums_;
};

}  // namespace

std::vector<Real> SplitDistances(std::size_t n, const std::vector<Real>& weights) {
  const RectangleSums sums(n, [&](std::size_t i, std::size_t j) { return i < j ? weights[StrictPairIndex(j, i)] : Real(0); });
  std::vector<Real> distances(CircularSplitCount(n));
  // Split (i, j) separates a < b when i < a <= j < b or a <= i < b <= j.
  for (std::size_t b = 1; b < n; ++b) {
    for (std::size_t a = 0; a < b; ++a) distances[StrictPairIndex(b, a)] = sums.Sum(0, a, a, b) + sums.Sum(a, b, b, n);
  }
  return distances;
}

std::vector<Real> SeparatedSums(std::size_t n, const std::vector<Real>& pairValues) {
  auto value = [&](std::size_t a, std::size_t b) {
    return a == b ? Real(0) : pairValues[a > b ? StrictPairIndex(a, b) : StrictPairIndex(b, a)];
  };
  const RectangleSums sums(n, value);
  std::vector<Real> separated(CircularSplitCount(n));
  // Inside i + 1 .. j against everything, less inside against inside.
  for (std::size_t j = 1; j < n; ++j) {
    for (std::size_t i = 0; i < j; ++i) {
      separated[StrictPairIndex(j, i)] = sums.Sum(i + 1, j + 1, 0, n) - sums.Sum(i + 1, j + 1, i + 1, j + 1);
    }
  }
  return separated;
}

std::vector<Real> ExactSplitWeights(std::size_t n, const std::vector<Real>& pairDistances) {
  auto d = [&](std::size_t a, std::size_t b) {
    a %= n;
    b %= n;
    return a == b ? Real(0) : pairDistances[a > b ? StrictPairIndex(a, b) : StrictPairIndex(b, a)];
  };
  std::vector<Real> weights(CircularSplitCount(n));
  for (std::size_t j = 1; j < n; ++j) {
    for (std::size_t i = 0; i < j; ++i) {
      weights[StrictPairIndex(j, i)] = (d(i, j) + d(i + 1, j + 1) - d(i, j + 1) - d(i + 1, j)) / 2;
    }
  }
  return weights;
}

}  // namespace vorn
