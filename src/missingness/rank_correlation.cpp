#include "missingness/rank_correlation.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <optional>

#include "core/progress.h"

namespace vorn {
namespace {

constexpr Real kTieTolerance = 1e-10L;

// The ranks centred on their mean, and the sum of their squares.
struct CentredRanks {
  std::vector<Real> values;
  Real squares = 0;
};

CentredRanks Centre(const std::vector<Real>& values) {
  CentredRanks centred{AverageRanks(values), 0};
  const Real mean = (static_cast<Real>(values.size()) + 1) / 2;
  for (Real& rank : centred.values) {
    rank -= mean;
    centred.squares += rank * rank;
  }
  return centred;
}

}  // namespace

std::vector<Real> AverageRanks(const std::vector<Real>& values) {
  std::vector<std::size_t> order(values.size());
  std::iota(order.begin(), order.end(), std::size_t{0});
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return values[a] < values[b]; });
  std::vector<Real> ranks(values.size());
  for (std::size_t first = 0; first < order.size();) {
    std::size_t last = first + 1;
    while (last < order.size() && values[order[last]] == values[order[first]]) ++last;
    const Real mean = static_cast<Real>(first + 1 + last) / 2;  // of the ranks first + 1 .. last
    for (std::size_t k = first; k < last; ++k) ranks[order[k]] = mean;
    first = last;
  }
  return ranks;
}

Result<std::vector<RankCorrelation>> SpearmanTest(const std::vector<Real>& x, const std::vector<std::vector<Real>>& ys,
                                                  const std::string& xName, const std::vector<std::string>& yNames,
                                                  std::int32_t permutations, RandomGenerator& random) {
  const std::size_t n = x.size();
  if (n < 3) return Failure{"A rank correlation needs at least 3 values; there are " + std::to_string(n) + "."};
  if (permutations < 0) return Failure{"The number of permutations must not be negative."};
  const auto refusal = [&](const std::vector<Real>& values, const std::string& name) -> std::optional<Failure> {
    if (std::any_of(values.begin(), values.end(), [](Real v) { return !std::isfinite(v); })) {
      return Failure{"The " + name + " holds a value that is not a number."};
    }
    if (std::all_of(values.begin(), values.end(), [&](Real v) { return v == values.front(); })) {
      return Failure{"The " + name + " is the same for every individual, so its rank correlation is undefined."};
    }
    return std::nullopt;
  };
  if (auto refused = refusal(x, xName)) return *refused;
  std::vector<CentredRanks> yRanks;
  for (std::size_t k = 0; k < ys.size(); ++k) {
    if (auto refused = refusal(ys[k], yNames[k])) return *refused;
    yRanks.push_back(Centre(ys[k]));
  }
  const CentredRanks xRanks = Centre(x);

  std::vector<RankCorrelation> results(ys.size());
  std::vector<Real> bars(ys.size());
  const auto products = [&](const std::uint32_t* order, const CentredRanks& y) {
    Real sum = 0;
    for (std::size_t i = 0; i < n; ++i) sum += xRanks.values[order[i]] * y.values[i];
    return sum;
  };
  std::vector<std::uint32_t> order(n);
  std::iota(order.begin(), order.end(), 0u);
  for (std::size_t k = 0; k < ys.size(); ++k) {
    const Real scale = std::sqrt(xRanks.squares * yRanks[k].squares);
    const Real observed = products(order.data(), yRanks[k]);
    results[k].rho = observed / scale;
    bars[k] = std::fabs(observed) - kTieTolerance * scale;
  }
  if (permutations == 0) return results;
  std::vector<std::int64_t> atLeast(ys.size(), 0);
  for (std::int32_t permutation = 0; permutation < permutations; ++permutation) {
    KeepResponsive();
    std::iota(order.begin(), order.end(), 0u);
    ShuffleOrder(order.data(), n, random);
    for (std::size_t k = 0; k < ys.size(); ++k) atLeast[k] += std::fabs(products(order.data(), yRanks[k])) >= bars[k];
  }
  for (std::size_t k = 0; k < ys.size(); ++k) {
    results[k].p = static_cast<Real>(atLeast[k] + 1) / static_cast<Real>(permutations + 1);
  }
  return results;
}

}  // namespace vorn
