#include "neighbor_net.h"

#include <algorithm>
#include <cmath>

#include "core/number_format.h"
#include "core/undefined_pairs.h"
#include "networks/neighbor_net_order.h"
#include "networks/split_weights.h"
#include "trees/neighbor_joining.h"

namespace vorn {

std::vector<std::size_t> ShorterSide(const std::vector<std::size_t>& order, std::size_t first, std::size_t last) {
  const std::size_t n = order.size();
  std::vector<std::size_t> inside(order.begin() + static_cast<std::ptrdiff_t>(first),
                                  order.begin() + static_cast<std::ptrdiff_t>(last) + 1);
  std::vector<std::size_t> outside;
  for (std::size_t k = 0; k < n; ++k) {
    if (k < first || k > last) outside.push_back(order[k]);
  }
  std::sort(inside.begin(), inside.end());
  std::sort(outside.begin(), outside.end());
  if (inside.size() != outside.size()) return inside.size() < outside.size() ? inside : outside;
  return inside.front() == 0 ? outside : inside;
}

Result<NeighborNet> FitNeighborNet(std::size_t n, const std::vector<Real>& pairDistances,
                                   const NetworkProgress& progress) {
  std::function<bool(std::size_t)> joined, onRound;
  if (progress) {
    joined = [&](std::size_t joins) { return progress(joins, 0); };
    onRound = [&](std::size_t round) { return progress(n - 1, round); };
  }
  const CircularOrder circle = NeighborNetOrder(n, pairDistances, joined);
  if (circle.order.size() != n) return Failure{"The agglomeration was stopped; no NeighborNet was built."};
  auto net = FitCircularSplits(n, pairDistances, circle.order, onRound);
  if (net) net->tiedJoins = circle.tiedJoins;
  return net;
}

Result<NeighborNet> FitCircularSplits(std::size_t n, const std::vector<Real>& pairDistances,
                                      const std::vector<std::size_t>& order,
                                      const std::function<bool(std::size_t round)>& onRound) {
  NeighborNet net;
  net.n = n;
  net.order = order;
  std::vector<Real> placed(pairDistances.size());
  for (std::size_t b = 1; b < n; ++b) {
    for (std::size_t a = 0; a < b; ++a) {
      const std::size_t p = net.order[a], q = net.order[b];
      placed[StrictPairIndex(b, a)] = pairDistances[p > q ? StrictPairIndex(p, q) : StrictPairIndex(q, p)];
    }
  }
  auto weights = FitSplitWeights(n, placed, onRound);
  if (!weights) return Failure{weights.error()};
  // Weights within the rounding of the largest distance count as zero.
  const Real largest = *std::max_element(pairDistances.begin(), pairDistances.end());
  const Real zero = kJoinRoundingShare * largest;
  net.fit = weights->fit;
  net.residual = weights->residual;
  for (std::size_t j = 1; j < n; ++j) {
    for (std::size_t i = 0; i < j; ++i) {
      const Real w = weights->weights[StrictPairIndex(j, i)];
      if (w > zero) net.splits.push_back(NetworkSplit{ShorterSide(net.order, i + 1, j), w});
    }
  }
  return net;
}

Result<NeighborNet> BuildNeighborNet(std::size_t n, const std::vector<Real>& pairs, const LabelTable& labels,
                                     const NetworkProgress& progress) {
  if (n < 3) {
    return Failure{"A NeighborNet needs at least 3 individuals, not " + std::to_string(n) +
                   "; no NeighborNet was built."};
  }
  auto name = [&](std::size_t i) { return labels.Count() == n ? labels[i] : "OTU" + std::to_string(i + 1); };
  for (std::size_t i = 1; i < n; ++i) {
    for (std::size_t j = 0; j < i; ++j) {
      const Real v = pairs[StrictPairIndex(i, j)];
      if (std::isnan(v) || std::isinf(v)) {
        return Failure{"The distance between " + name(j) + " and " + name(i) +
                       " is undefined; no NeighborNet was built."};
      }
      if (v < 0) {
        return Failure{"The distance between " + name(j) + " and " + name(i) + " is negative (" + FormatReal(v) +
                       "); no NeighborNet was built."};
      }
    }
  }
  return FitNeighborNet(n, pairs, progress);
}

Result<NeighborNet> BuildNeighborNet(const DistanceMatrix& distances, const LabelTable& labels) {
  std::vector<Real> pairs;
  pairs.reserve(distances.n * (distances.n - 1) / 2);
  for (std::size_t i = 1; i < distances.n; ++i) {
    for (std::size_t j = 0; j < i; ++j) pairs.push_back(distances(i, j));
  }
  return BuildNeighborNet(distances.n, pairs, labels);
}

}  // namespace vorn
