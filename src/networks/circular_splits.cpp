#include "circular_splits.h"

#include <type_traits>
#include <vector>

#include "core/undefined_pairs.h"

namespace vorn {
namespace {

// A sum in Real held as two parts, hi + lo, lo the rounding errors of hi kept by Knuth's two-sum:
// sums of a thousand values come out to the rounding of the result, not of the largest part.
struct Compensated {
  Real hi = 0, lo = 0;
};

Compensated operator+(Compensated x, Compensated y) {
  const Real sum = x.hi + y.hi, y1 = sum - x.hi;
  return {sum, ((x.hi - (sum - y1)) + (y.hi - y1)) + (x.lo + y.lo)};
}
Compensated operator-(Compensated x) { return {-x.hi, -x.lo}; }
Compensated operator-(Compensated x, Compensated y) { return x + -y; }
Real Rounded(Compensated x) { return x.hi + x.lo; }
double Rounded(double x) { return x; }

// The sums are compensated in Real (the exact gradient and fit) and plain in double (the
// estimates).
template <class Value>
using SumOf = std::conditional_t<std::is_same_v<Value, Real>, Compensated, double>;

Compensated AsSum(Real x) { return {x, 0}; }
Compensated AsSum(Compensated x) { return x; }
double AsSum(double x) { return x; }

// Running sums S(r, c) of the values v(i, j) over i < r and j < c, (n + 1) x (n + 1). A sum over
// a rectangle is a difference of four of them, which grow to the sum of all values: plain, it
// carries the rounding of that total, compensated that of its own size.
template <class Sum>
class RectangleSums {
 public:
  template <class Entry>
  RectangleSums(std::size_t n, Entry value) : side_(n + 1), sums_(side_ * side_) {
    for (std::size_t r = 0; r < n; ++r) {
      Sum row{};
      for (std::size_t c = 0; c < n; ++c) {
        row = row + AsSum(value(r, c));
        sums_[(r + 1) * side_ + c + 1] = sums_[r * side_ + c + 1] + row;
      }
    }
  }
  // The sum of v(i, j) over r0 <= i < r1, c0 <= j < c1.
  Sum Of(std::size_t r0, std::size_t r1, std::size_t c0, std::size_t c1) const {
    return (S(r1, c1) - S(r0, c1)) - (S(r1, c0) - S(r0, c0));
  }

 private:
  const Sum& S(std::size_t r, std::size_t c) const { return sums_[r * side_ + c]; }
  std::size_t side_;
  std::vector<Sum> sums_;
};

// A x unrounded.
template <class Value>
std::vector<SumOf<Value>> SplitDistanceSums(std::size_t n, const std::vector<Value>& weights) {
  const RectangleSums<SumOf<Value>> sums(n, [&](std::size_t i, std::size_t j) { return i < j ? weights[StrictPairIndex(j, i)] : Value(0); });
  std::vector<SumOf<Value>> distances(CircularSplitCount(n));
  // Split (i, j) separates a < b when i < a <= j < b or a <= i < b <= j.
  for (std::size_t b = 1; b < n; ++b) {
    for (std::size_t a = 0; a < b; ++a) distances[StrictPairIndex(b, a)] = sums.Of(0, a, a, b) + sums.Of(a, b, b, n);
  }
  return distances;
}

// A^T y rounded, of pair values y of either kind of sum (or plain values).
template <class Sum, class PairValue>
std::vector<decltype(Rounded(Sum{}))> SeparatedSumsOf(std::size_t n, const std::vector<PairValue>& pairValues) {
  auto value = [&](std::size_t a, std::size_t b) {
    return a == b ? PairValue{} : pairValues[a > b ? StrictPairIndex(a, b) : StrictPairIndex(b, a)];
  };
  const RectangleSums<Sum> sums(n, value);
  std::vector<decltype(Rounded(Sum{}))> separated(CircularSplitCount(n));
  // Inside i + 1 .. j against everything, less inside against inside.
  for (std::size_t j = 1; j < n; ++j) {
    for (std::size_t i = 0; i < j; ++i) {
      separated[StrictPairIndex(j, i)] = Rounded(sums.Of(i + 1, j + 1, 0, n) - sums.Of(i + 1, j + 1, i + 1, j + 1));
    }
  }
  return separated;
}

}  // namespace

template <class Value>
std::vector<Value> SplitDistances(std::size_t n, const std::vector<Value>& weights) {
  const std::vector<SumOf<Value>> sums = SplitDistanceSums(n, weights);
  std::vector<Value> distances(sums.size());
  for (std::size_t k = 0; k < sums.size(); ++k) distances[k] = Rounded(sums[k]);
  return distances;
}

template <class Value>
std::vector<Value> SeparatedSums(std::size_t n, const std::vector<Value>& pairValues) {
  return SeparatedSumsOf<SumOf<Value>>(n, pairValues);
}

template std::vector<Real> SplitDistances(std::size_t, const std::vector<Real>&);
template std::vector<double> SplitDistances(std::size_t, const std::vector<double>&);
template std::vector<Real> SeparatedSums(std::size_t, const std::vector<Real>&);
template std::vector<double> SeparatedSums(std::size_t, const std::vector<double>&);

std::vector<Real> ResidualGradient(std::size_t n, const std::vector<Real>& pairDistances, const std::vector<Real>& weights) {
  std::vector<Compensated> residual = SplitDistanceSums(n, weights);
  for (std::size_t k = 0; k < residual.size(); ++k) residual[k] = AsSum(pairDistances[k]) - residual[k];
  return SeparatedSumsOf<Compensated>(n, residual);
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
