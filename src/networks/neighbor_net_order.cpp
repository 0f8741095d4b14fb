#include "neighbor_net_order.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>
#include <vector>

#include "core/undefined_pairs.h"
#include "trees/neighbor_joining.h"

namespace vorn {
namespace {

struct Cluster {
  std::size_t front = 0, back = 0;  // the nodes of the two ends; one node when front == back
  std::vector<std::size_t> path;    // the individuals, front to back
  std::size_t slot = 0;             // its row and column of the mean distances between clusters
  bool Single() const { return front == back; }
  std::size_t Size() const { return Single() ? 1 : 2; }
  std::size_t Node(std::size_t k) const { return k == 0 ? front : back; }
};

// The smallest of values offered in turn, numbered in the order offered: of those within the
// tolerance of it, the first, and how many there are. A value within the tolerance of the
// smallest is within it of the smallest so far, so only those are kept.
class FirstSmallest {
 public:
  explicit FirstSmallest(Real tolerance) : tolerance_(tolerance) {}

  void Offer(Real value) {
    if (value < smallest_) smallest_ = value;
    if (value - smallest_ <= tolerance_) near_.push_back({count_, value});
    ++count_;
  }

  // The first within the tolerance of the smallest; counts a tie in ties when more than inherent are.
  std::size_t Chosen(std::size_t inherent, std::size_t& ties) const {
    std::size_t first = count_, within = 0;
    for (const auto& [k, value] : near_) {
      if (value - smallest_ <= tolerance_) {
        if (first == count_) first = k;
        ++within;
      }
    }
    if (within > inherent) ++ties;
    return first;
  }

 private:
  Real tolerance_;
  Real smallest_ = std::numeric_limits<Real>::infinity();
  std::size_t count_ = 0;
  std::vector<std::pair<std::size_t, Real>> near_;
};

class Agglomeration {
 public:
  Agglomeration(std::size_t n, const std::vector<Real>& distances) : n_(n), d_(n * n, 0), between_(n * n, 0) {
    for (std::size_t i = 1; i < n; ++i) {
      for (std::size_t j = 0; j < i; ++j) D(i, j) = D(j, i) = distances[StrictPairIndex(i, j)];
    }
    for (std::size_t i = 0; i < n; ++i) clusters_.push_back(Cluster{i, i, {i}, i});
    for (std::size_t i = 1; i < n; ++i) {
      for (std::size_t j = 0; j < i; ++j) Between(i, j) = Mean(clusters_[i], clusters_[j]);
    }
  }

  CircularOrder Run(const std::function<bool(std::size_t joins)>& joined) {
    for (std::size_t joins = 1; clusters_.size() > 1; ++joins) {
      Join();
      if (joined && !joined(joins)) return {};
    }
    return CircularOrder{clusters_[0].path, ties_};
  }

 private:
  Real& D(std::size_t a, std::size_t b) { return d_[a * n_ + b]; }
  // The mean distance between the clusters in rows i > j, kept from join to join: a join changes
  // the distances of the merged cluster's nodes alone.
  Real& Between(std::size_t i, std::size_t j) { return between_[clusters_[i].slot * n_ + clusters_[j].slot]; }

  Real Mean(const Cluster& c, std::size_t node) {
    return c.Single() ? D(c.front, node) : (D(c.front, node) + D(c.back, node)) / 2;
  }
  Real Mean(const Cluster& c, const Cluster& e) {
    Real sum = 0;
    for (std::size_t k = 0; k < c.Size(); ++k) {
      for (std::size_t l = 0; l < e.Size(); ++l) sum += D(c.Node(k), e.Node(l));
    }
    return sum / static_cast<Real>(c.Size() * e.Size());
  }

  void Join() {
    const std::size_t m = clusters_.size();
    std::vector<Real>& sums = sums_;
    sums.assign(m, 0);
    Real largest = 0;
    for (std::size_t i = 1; i < m; ++i) {
      const Real* row = &between_[clusters_[i].slot * n_];
      for (std::size_t j = 0; j < i; ++j) {
        const Real v = row[clusters_[j].slot];
        sums[i] += v;
        sums[j] += v;
        largest = std::max(largest, std::fabs(v));
      }
    }
    std::size_t later = 1, earlier = 0;
    if (m > 2) {
      Real largestSum = 0;
      for (Real s : sums) largestSum = std::max(largestSum, std::fabs(s));
      FirstSmallest q(kJoinRoundingShare * (static_cast<Real>(m - 2) * largest + 2 * largestSum));
      for (std::size_t i = 1; i < m; ++i) {
        const Real* row = &between_[clusters_[i].slot * n_];
        for (std::size_t j = 0; j < i; ++j) q.Offer(static_cast<Real>(m - 2) * row[clusters_[j].slot] - sums[i] - sums[j]);
      }
      // Some ties are in the formula and are not counted: of three clusters every pair has the
      // same Q (minus the sum of their three distances), of four each pair the Q of the other two.
      const std::size_t inherent = m == 3 ? 3 : m == 4 ? 2 : 1;
      const std::size_t chosen = q.Chosen(inherent, ties_);
      later = static_cast<std::size_t>((1 + std::sqrt(1 + 8 * static_cast<double>(chosen))) / 2);
      while (later * (later - 1) / 2 > chosen) --later;
      while ((later + 1) * later / 2 <= chosen) ++later;
      earlier = chosen - later * (later - 1) / 2;
    }
    const auto [x, y] = ChooseNodes(clusters_[earlier], clusters_[later]);
    const std::size_t slot = clusters_[earlier].slot;
    clusters_[earlier] = Merge(clusters_[earlier], clusters_[later], x, y);
    clusters_[earlier].slot = slot;
    clusters_.erase(clusters_.begin() + static_cast<std::ptrdiff_t>(later));
    // The mean of the later cluster first, as it was taken afresh at every join.
    for (std::size_t k = 0; k < clusters_.size(); ++k) {
      if (k > earlier) Between(k, earlier) = Mean(clusters_[k], clusters_[earlier]);
      if (k < earlier) Between(earlier, k) = Mean(clusters_[earlier], clusters_[k]);
    }
  }

  std::pair<std::size_t, std::size_t> ChooseNodes(const Cluster& c, const Cluster& e) {
    // Two singletons have one pair; so have the last two clusters when one is a singleton: every
    // join of their ends closes the same circle.
    if ((c.Single() && e.Single()) || (clusters_.size() == 2 && (c.Single() || e.Single()))) return {c.front, e.front};
    std::vector<std::size_t> nodes;
    for (std::size_t k = 0; k < c.Size(); ++k) nodes.push_back(c.Node(k));
    for (std::size_t k = 0; k < e.Size(); ++k) nodes.push_back(e.Node(k));
    const std::size_t units = clusters_.size() - 2 + nodes.size();
    std::vector<Real> r(nodes.size(), 0);
    Real largest = 0, largestR = 0;
    for (std::size_t k = 0; k < nodes.size(); ++k) {
      for (std::size_t l = 0; l < nodes.size(); ++l) {
        if (l != k) r[k] += D(nodes[k], nodes[l]);
        largest = std::max(largest, std::fabs(D(nodes[k], nodes[l])));
      }
      for (const Cluster& other : clusters_) {
        if (&other != &c && &other != &e) r[k] += Mean(other, nodes[k]);
      }
      largestR = std::max(largestR, std::fabs(r[k]));
    }
    // Of the last two clusters, joining x and y closes the circle as joining the other two ends
    // does (their Q are the same): x is the front of c.
    const std::size_t xs = clusters_.size() == 2 ? 1 : c.Size();
    FirstSmallest q(kJoinRoundingShare * (static_cast<Real>(units - 2) * largest + 2 * largestR));
    for (std::size_t k = 0; k < xs; ++k) {
      for (std::size_t l = 0; l < e.Size(); ++l) q.Offer(static_cast<Real>(units - 2) * D(c.Node(k), e.Node(l)) - r[k] - r[c.Size() + l]);
    }
    const std::size_t chosen = q.Chosen(1, ties_);
    return {c.Node(chosen / e.Size()), e.Node(chosen % e.Size())};
  }

  // Reduces the three nodes x, y, z in a row to two, kept in the places of x and z: their
  // distances to the nodes of the clusters other than c and e, and to extra.
  void Reduce(std::size_t x, std::size_t y, std::size_t z, const Cluster& c, const Cluster& e,
              const std::vector<std::size_t>& extra) {
    const Real uv = (D(x, y) + D(x, z) + D(y, z)) / 3;
    auto update = [&](std::size_t p) {
      D(x, p) = D(p, x) = 2 * D(x, p) / 3 + D(y, p) / 3;
      D(z, p) = D(p, z) = 2 * D(z, p) / 3 + D(y, p) / 3;
    };
    for (const Cluster& other : clusters_) {
      if (&other == &c || &other == &e) continue;
      for (std::size_t k = 0; k < other.Size(); ++k) update(other.Node(k));
    }
    for (std::size_t p : extra) update(p);
    D(x, z) = D(z, x) = uv;
  }

  // c's path turned to end at x, then e's turned to start at y, reduced to its two end nodes.
  Cluster Merge(const Cluster& c, const Cluster& e, std::size_t x, std::size_t y) {
    Cluster merged;
    merged.path = c.path;
    if (!c.Single() && c.front == x) std::reverse(merged.path.begin(), merged.path.end());
    std::vector<std::size_t> tail = e.path;
    if (!e.Single() && e.back == y) std::reverse(tail.begin(), tail.end());
    merged.path.insert(merged.path.end(), tail.begin(), tail.end());
    std::vector<std::size_t> row;
    if (!c.Single()) row.push_back(c.front == x ? c.back : c.front);
    row.push_back(x);
    row.push_back(y);
    if (!e.Single()) row.push_back(e.front == y ? e.back : e.front);
    if (row.size() == 3) Reduce(row[0], row[1], row[2], c, e, {});
    if (row.size() == 4) {
      Reduce(row[0], row[1], row[2], c, e, {row[3]});
      Reduce(row[0], row[2], row[3], c, e, {});
    }
    merged.front = row.front();
    merged.back = row.back();
    return merged;
  }

  std::size_t n_;
  std::vector<Real> d_;
  std::vector<Real> between_;  // by slot: row the later cluster, column the earlier
  std::vector<Real> sums_;
  std::vector<Cluster> clusters_;
  std::size_t ties_ = 0;
};

}  // namespace

CircularOrder NeighborNetOrder(std::size_t n, const std::vector<Real>& distances,
                               const std::function<bool(std::size_t joins)>& joined) {
  if (n == 0) return {};
  return Agglomeration(n, distances).Run(joined);
}

}  // namespace vorn
