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

// A x unrounded, in one pass over the weights in their order. For a < b the pair's distance is
// P(a, b) + Q(a, b), the splits (i, j) with i < a <= j < b (a inside, b not) and those with
// a <= i < b <= j (b inside, a not). From b to b + 1, split column b (the weights w(i, b), i < b,
// which lie together) adds to P(a, .) its part above a and to Q(a, .) the rest of row b less its
// part from a on:
//   P(a, b + 1) = P(a, b) + sum_{i < a} w(i, b),
//   Q(a, b + 1) = Q(a, b) + sum_{j > b} w(b, j) - sum_{a <= i < b} w(i, b),
// and the new a = b starts at P = sum_{i < b} w(i, b), Q = sum_{j > b} w(b, j). Every sum runs over
// one column or one row, so its rounding is that of its own terms.
template <class Value>
std::vector<SumOf<Value>> SplitDistanceSums(std::size_t n, const std::vector<Value>& weights) {
  using Sum = SumOf<Value>;
  std::vector<Sum> rowAfter(n);  // sum_{j > i} w(i, j)
  for (std::size_t j = 1; j < n; ++j) {
    for (std::size_t i = 0; i < j; ++i) rowAfter[i] = rowAfter[i] + AsSum(weights[StrictPairIndex(j, i)]);
  }
  std::vector<Sum> p(n), q(n), distances(CircularSplitCount(n));
  if (n > 0) q[0] = rowAfter[0];
  for (std::size_t b = 1; b < n; ++b) {
    const std::size_t column = StrictPairIndex(b, 0);
    for (std::size_t a = 0; a < b; ++a) distances[column + a] = p[a] + q[a];
    if (b + 1 == n) break;
    Sum above{};
    for (std::size_t a = 0; a < b; ++a) {
      p[a] = p[a] + above;
      above = above + AsSum(weights[column + a]);
    }
    Sum from{};
    for (std::size_t a = b; a-- > 0;) {
      from = from + AsSum(weights[column + a]);
      q[a] = q[a] + (rowAfter[b] - from);
    }
    p[b] = above;
    q[b] = rowAfter[b];
  }
  return distances;
}

// A^T y rounded, of pair values y of either kind of sum (or plain values), in one pass over y in
// its order. The split cutting positions p .. q separates what its members have with the rest:
// the sum of their rows R less twice U(p, q), the sum of y over the pairs inside, where
// U(p, q) = U(p, q - 1) + sum_{p <= a < q} y(a, q): column q of y, which lies together.
template <class Sum, class PairValue>
std::vector<decltype(Rounded(Sum{}))> SeparatedSumsOf(std::size_t n, const std::vector<PairValue>& pairValues) {
  std::vector<Sum> rows(n);
  for (std::size_t b = 1; b < n; ++b) {
    for (std::size_t a = 0; a < b; ++a) {
      const Sum y = AsSum(pairValues[StrictPairIndex(b, a)]);
      rows[a] = rows[a] + y;
      rows[b] = rows[b] + y;
    }
  }
  std::vector<Sum> inside(n);  // U(p, q) at p, for the q in work
  std::vector<decltype(Rounded(Sum{}))> separated(CircularSplitCount(n));
  for (std::size_t last = 1; last < n; ++last) {
    const std::size_t column = StrictPairIndex(last, 0);
    Sum members{}, toLast{};
    for (std::size_t first = last; first >= 1; --first) {
      members = members + rows[first];
      if (first < last) toLast = toLast + AsSum(pairValues[column + first]);
      inside[first] = inside[first] + toLast;
      // Split (first - 1, last) cuts first .. last.
      separated[column + first - 1] = Rounded(members - (inside[first] + inside[first]));
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
