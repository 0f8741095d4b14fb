#include "trees/r_support.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <map>
#include <set>
#include <tuple>

#include "trees/consensus_tree.h"

namespace vorn {
namespace {

using Members = std::vector<std::uint64_t>;

constexpr const char* kRClustersFull =
    "Maximal number of clusters that can be evaluated has been reached.\r\n"
    "R-support keeps at most 65535 clusters; the analysis ends here.";

void DropRemoved(std::vector<Cluster>& clusters, const std::vector<bool>& removed) {
  std::size_t kept = 0;
  for (std::size_t k = 0; k < clusters.size(); ++k) {
    if (removed[k]) continue;
    if (kept != k) clusters[kept] = std::move(clusters[k]);
    ++kept;
  }
  clusters.resize(kept);
}

// Each cluster keeps its smallest r: over the distinct r values f in increasing order, a copy
// found at a larger r (or again at the same r) than a copy found at f is dropped. A cluster
// found at a smaller r but not at f contradicts the search's premise that a cluster, once
// found, stays; the first such is told and the pass goes on.
void KeepSmallestR(std::vector<Cluster>& clusters, const std::function<void(std::string_view)>& errorBox) {
  std::set<std::uint32_t> rValues;
  for (const Cluster& cluster : clusters) rValues.insert(cluster.r);
  std::vector<bool> removed(clusters.size(), false);
  bool told = false;
  for (std::uint32_t f : rValues) {
    std::map<Members, std::size_t> atF;  // the first copy found at f
    for (std::size_t k = 0; k < clusters.size(); ++k) {
      if (clusters[k].r == f) atF.emplace(clusters[k].members, k);
    }
    for (std::size_t k = 0; k < clusters.size(); ++k) {
      const std::uint32_t h = clusters[k].r;
      const auto found = atF.find(clusters[k].members);
      if (h >= f && found != atF.end() && found->second != k) {
        if (h > f || found->second < k) removed[k] = true;
      } else if (h < f && found == atF.end() && !told && !removed[k]) {
        told = true;
        errorBox("Trees are inconsistent (cluster #" + std::to_string(k + 1) + ") d= " + std::to_string(f) +
                 " f= " + std::to_string(h) + "\r\n" + "startcluster= " + " of " + std::to_string(clusters.size()));
      }
    }
  }
  DropRemoved(clusters, removed);
}

// The clusters found at t (from position firstNew on) joined to the older ones: of two identical
// clusters the one with the smaller r stays. The older ones are distinct, so a new cluster meets
// at most one copy.
void MergeNewClusters(std::vector<Cluster>& clusters, std::size_t firstNew) {
  std::map<Members, std::size_t> older;
  for (std::size_t k = 0; k < firstNew; ++k) older.emplace(clusters[k].members, k);
  std::vector<bool> removed(clusters.size(), false);
  for (std::size_t k = firstNew; k < clusters.size(); ++k) {
    const auto found = older.find(clusters[k].members);
    if (found == older.end()) continue;
    if (clusters[found->second].r <= clusters[k].r) {
      removed[k] = true;
    } else {
      removed[found->second] = true;
    }
  }
  DropRemoved(clusters, removed);
}

bool AnyWithR(const std::vector<Cluster>& clusters, std::uint32_t r) {
  return std::any_of(clusters.begin(), clusters.end(), [r](const Cluster& cluster) { return cluster.r == r; });
}

void AppendGroups(std::vector<Cluster>& clusters, const RConsensus& consensus, std::uint32_t r) {
  for (Cluster group : consensus.groups) {
    group.r = r;
    clusters.push_back(std::move(group));
  }
}

// The cluster with its members put in the order of otuOrder.
Cluster Reordered(const Cluster& cluster, const std::vector<std::size_t>& otuOrder) {
  Cluster reordered{Members(cluster.members.size(), 0), cluster.count, cluster.r};
  for (std::size_t p = 0; p < otuOrder.size(); ++p) {
    if (cluster.Has(otuOrder[p])) reordered.members[p / 64] |= std::uint64_t{1} << (p % 64);
  }
  return reordered;
}

}  // namespace

bool RTable::AddR(std::uint32_t a) {
  if (entries_.size() >= kMaxRValues) return false;
  REntry entry{a, 0, 0};
  // The largest R below a; of equal ones, the first entry.
  if (auto below = first_.lower_bound(a); below != first_.begin()) {
    REntry& previous = entries_[std::prev(below)->second];
    entry.Next = previous.Next;
    previous.Next = a;
  }
  first_.emplace(a, entries_.size());
  entries_.push_back(entry);
  return true;
}

std::optional<std::size_t> RTable::FirstWith(std::uint32_t r) const {
  const auto found = first_.find(r);
  if (found == first_.end()) return std::nullopt;
  return found->second;
}

REntry* RTable::Find(std::uint32_t r) {
  const auto position = FirstWith(r);
  return position ? &entries_[*position] : nullptr;
}

bool RTable::IsOpen(std::size_t i) const {
  if (entries_[i].Next == 0) return false;
  const auto found = FirstWith(entries_[i].Next);
  if (!found) return false;
  const std::size_t j = *found;
  if (i == j) return false;
  const REntry& low = entries_[std::min(i, j)];
  const REntry& high = entries_[std::max(i, j)];
  if (low.SameAs == high.SameAs && low.SameAs != 0) return false;
  if (low.SameAs == high.R) return false;
  if (high.Next == high.SameAs && high.SameAs != 0) return false;
  return true;
}

std::optional<std::pair<std::uint32_t, std::uint32_t>> RTable::NextInterval(std::uint8_t digits) const {
  // Widths are compared as the ratios they are logarithms of, in integers, so that intervals of
  // equal width compare equal.
  const auto bounds = [](const REntry& entry) {
    return std::pair<std::uint64_t, std::uint64_t>{std::min(entry.R, entry.Next), std::max(entry.R, entry.Next)};
  };
  std::optional<std::size_t> best;
  for (std::size_t i = 0; i < entries_.size(); ++i) {
    if (!IsOpen(i)) continue;
    const auto [lo, hi] = bounds(entries_[i]);
    if (!WiderThanPrecision(static_cast<std::uint32_t>(lo), static_cast<std::uint32_t>(hi), digits)) continue;
    if (best) {
      const auto [bestLo, bestHi] = bounds(entries_[*best]);
      if (hi * bestLo <= bestHi * lo) continue;
    }
    best = i;
  }
  if (!best) return std::nullopt;
  return std::pair{entries_[*best].R, entries_[*best].Next};
}

std::uint32_t RoundedGeometricMean(std::uint32_t lo, std::uint32_t hi) {
  const std::uint64_t product = std::uint64_t{lo} * hi;
  auto root = static_cast<std::uint64_t>(std::sqrt(static_cast<long double>(product)));
  while (root * root > product) --root;
  while ((root + 1) * (root + 1) <= product) ++root;
  // sqrt(product) is whole or irrational, never a half: it rounds up exactly when it is at
  // least root + 1/2, that is when product > root^2 + root.
  if (product - root * root > root) ++root;
  return static_cast<std::uint32_t>(root);
}

bool WiderThanPrecision(std::uint32_t lo, std::uint32_t hi, std::uint8_t digits) {
  if (lo == 0) return false;
  // With 0 digits the bound is a ratio of 10, which a ratio of whole numbers can meet exactly;
  // any other bound is irrational and only the logarithm can be compared with it.
  if (digits == 0) return std::uint64_t{hi} > std::uint64_t{10} * lo;
  return std::log10(static_cast<long double>(hi) / lo) > std::pow(10.0L, -static_cast<long double>(digits));
}

Result<std::string> RxConsensus(const std::vector<Cluster>& clusters, const std::vector<std::string>& names,
                                std::uint32_t rxThreshold, std::uint8_t digits) {
  TTrees builder;
  builder.rMode = true;
  builder.maxR = rxThreshold;
  builder.rDigits = digits;
  builder.labelPrefix = "R";
  return builder.BuildConsensusTree(clusters, names, 1);
}

RSupportResult EstimateRSupport(const RSupportSettings& settings, const EvaluateR& evaluate,
                                const std::vector<std::string>& labels,
                                const std::function<void(std::string_view)>& errorBox) {
  RSupportResult result;
  RTable rTable;
  std::vector<Cluster>& clusters = result.clusters;

  // Evaluates r and appends its groups; false when the analysis ends (told, or cancelled).
  const auto evaluateInto = [&](std::uint32_t r, RConsensus* kept) {
    REvaluation evaluation = evaluate(r);
    if (evaluation.cancelled) {
      result.cancelled = true;
      return false;
    }
    if (!evaluation.consensus) {
      errorBox(evaluation.failure);
      return false;
    }
    AppendGroups(clusters, *evaluation.consensus, r);
    if (kept) *kept = std::move(*evaluation.consensus);
    return true;
  };
  const auto failed = [&](std::string_view message) {
    if (!result.cancelled) errorBox(message);
    return result;
  };
  // The table is checked once each cluster has kept its smallest r, so that it holds up to
  // kMaxClusters distinct clusters.
  const auto full = [&] {
    if (clusters.size() <= kMaxClusters) return false;
    errorBox(kRClustersFull);
    return true;
  };

  RConsensus atFrom;
  if (!evaluateInto(settings.rFrom, &atFrom) || !evaluateInto(settings.rTo, nullptr)) {
    return failed("R-support analysis failed");
  }
  result.otuOrder = std::move(atFrom.textOrder);
  rTable.AddR(settings.rFrom);
  rTable.AddR(settings.rTo);
  KeepSmallestR(clusters, errorBox);
  if (full()) return result;
  if (!AnyWithR(clusters, settings.rTo)) rTable.Find(settings.rTo)->SameAs = settings.rFrom;

  std::uint32_t lo = settings.rFrom, hi = settings.rTo;
  for (;;) {
    const std::uint32_t t = RoundedGeometricMean(lo, hi);
    if (t == lo || t == hi) {
      REntry& entry = *rTable.Find(t);
      // The interval cannot be split in whole values of r: it is closed. An entry without Next
      // (r from = r to) is closed by marking it with a Next that names no evaluated r.
      if (entry.Next != 0) {
        entry.SameAs = entry.Next;
      } else {
        entry.SameAs = entry.Next = 999;
      }
    } else {
      const std::size_t firstNew = clusters.size();
      if (!evaluateInto(t, nullptr)) return failed("R-support analysis failed (w/i loop)");
      MergeNewClusters(clusters, firstNew);
      if (full()) return result;
      if (!rTable.AddR(t)) {
        errorBox("The r table is full: R-support evaluates at most 1000000 values of r; the analysis ends here.");
        return result;
      }
      if (!AnyWithR(clusters, t)) rTable.Find(t)->SameAs = lo;
    }
    const auto next = rTable.NextInterval(settings.digits);
    if (!next) break;
    std::tie(lo, hi) = *next;
  }
  result.completed = true;

  std::vector<std::string> names;
  for (std::size_t individual : result.otuOrder) names.push_back(labels[individual]);
  for (Cluster& cluster : clusters) cluster = Reordered(cluster, result.otuOrder);
  auto tree = RxConsensus(clusters, names, settings.rxThreshold, settings.digits);
  if (tree) {
    result.rxConsensus = std::move(*tree);
  } else {
    errorBox(tree.error());
  }
  return result;
}

}  // namespace vorn
