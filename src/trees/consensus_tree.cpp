// The construction takes one qualifying cluster per step, children before parents: it starts
// below the OTU with the most clusters around it and climbs to each cluster's parent, turning
// aside into a sibling group while one is left unbuilt. Each OTU is placed at the step of the
// first cluster that takes it; a group opens before the first OTU placed in it. Memory beyond the
// membership bits is linear in the OTUs and clusters: members are read from the bits each time,
// and each OTU keeps only the smallest cluster around it.
#include "trees/consensus_tree.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <numeric>

#include "core/number_format.h"

namespace vorn {
namespace {

constexpr std::size_t kNone = static_cast<std::size_t>(-1);

struct UsedCluster {
  std::size_t position;  // in the cluster table, from 0
  std::size_t size;      // members
  std::string label;
};

// Calls visit with each member of cluster, ascending.
template <typename Visit>
void ForEachMember(const Cluster& cluster, Visit&& visit) {
  for (std::size_t word = 0; word < cluster.members.size(); ++word) {
    for (std::uint64_t bits = cluster.members[word]; bits != 0; bits &= bits - 1) {
      visit(word * 64 + static_cast<std::size_t>(std::countr_zero(bits)));
    }
  }
}

bool Inside(const Cluster& inner, const Cluster& outer) {
  for (std::size_t word = 0; word < inner.members.size(); ++word) {
    if ((inner.members[word] & ~outer.members[word]) != 0) return false;
  }
  return true;
}

}  // namespace

// Computed exactly, in integers.
std::uint64_t ClusterPercentage(std::uint32_t count, std::uint32_t treeCount) {
  if (treeCount == 0) return 0;
  const std::uint64_t scaled = std::uint64_t{100} * count;
  std::uint64_t percentage = scaled / treeCount;
  const std::uint64_t twiceRest = 2 * (scaled % treeCount);
  if (twiceRest > treeCount || (twiceRest == treeCount && percentage % 2 == 1)) ++percentage;
  return percentage;
}

// "{A, B, C}", or for a large cluster its first members and its size: "{A, B, ... (40 OTUs)}".
std::string TTrees::MembersText(const Cluster& cluster, const std::vector<std::string>& names) const {
  constexpr std::size_t kNamed = 6;
  const std::vector<std::string>& shown = shownNames.empty() ? names : shownNames;
  std::string text;
  std::size_t named = 0;
  ForEachMember(cluster, [&](std::size_t otu) {
    if (named < kNamed) text += (named++ == 0 ? "" : ", ") + shown[otu];
  });
  if (const std::size_t size = cluster.Size(); size > kNamed) text += ", ... (" + std::to_string(size) + " OTUs)";
  return "{" + text + "}";
}

Failure TTrees::Contradiction(const Cluster& first, const Cluster& second, const std::vector<std::string>& names) const {
  std::string message = "The clusters " + MembersText(first, names) + " and " + MembersText(second, names) +
                        " both qualify but contradict each other (they share OTUs and neither holds the other): "
                        "there is no consensus tree.";
  if (!rMode) message += "\r\nWith an even number of trees a threshold of 50 % can admit such a pair; choose a higher threshold.";
  return Failure{message};
}

std::uint64_t TTrees::RequiredCount(std::uint32_t treeCount) const {
  const double share = std::max(threshold, 0.5);
  if (share == 1.0) return treeCount;
  // The share is a percentage / 100, which a double holds only nearly; a product a hair above a
  // whole number (0.55 * 100 trees) still asks for that number of trees.
  const double product = treeCount * share;
  return static_cast<std::uint64_t>(std::ceil(product - product * 1e-12));
}

Result<std::string> TTrees::BuildConsensusTree(const std::vector<Cluster>& clusters, const std::vector<std::string>& names,
                                               std::uint32_t treeCount) const {
  auto built = BuildConsensus(clusters, names, treeCount);
  if (!built) return Failure{built.error()};
  return std::move(built->text);
}

Result<ConsensusBuild> TTrees::BuildConsensus(const std::vector<Cluster>& clusters, const std::vector<std::string>& names,
                                              std::uint32_t treeCount) const {
  const std::size_t n = names.size();
  const std::uint64_t required = RequiredCount(treeCount);
  std::vector<UsedCluster> used;
  for (std::size_t i = 0; i < clusters.size(); ++i) {
    const Cluster& cluster = clusters[i];
    if (rMode ? cluster.r > maxR : cluster.count < required) continue;
    UsedCluster entry{i, cluster.Size(), {}};
    if (rMode) {
      if (rDigits != 255) entry.label = labelPrefix + FormatFixed(std::log10(static_cast<Real>(cluster.r)), rDigits, 4);
    } else if (bracketLabels || showLabels) {
      const std::string percentage = std::to_string(ClusterPercentage(cluster.count, treeCount));
      entry.label = bracketLabels ? "<" + percentage + ">" : percentage;
    }
    used.push_back(std::move(entry));
  }
  if (used.empty()) {
    if (rMode) return Failure{"No cluster has an r value of at most " + std::to_string(maxR) + ": there is no consensus tree."};
    return Failure{"No cluster is found in at least " + std::to_string(required) + " of the " + std::to_string(treeCount) +
                   " trees: there is no consensus tree."};
  }
  const auto size = [&](std::size_t u) { return used[u].size; };
  const auto members = [&](std::size_t u) -> const Cluster& { return clusters[used[u].position]; };

  // Nesting, largest cluster first (equal sizes in table order): the parent of a cluster is the
  // cluster taken last among those around any of its members, which must be the same for all of
  // them. smallest[otu] ends as the smallest cluster around the OTU.
  std::vector<std::size_t> bySize(used.size());
  std::iota(bySize.begin(), bySize.end(), std::size_t{0});
  std::stable_sort(bySize.begin(), bySize.end(), [&](std::size_t a, std::size_t b) { return size(a) > size(b); });
  std::vector<std::size_t> parent(used.size(), kNone), depth(used.size(), 0), smallest(n, kNone);
  for (std::size_t u : bySize) {
    std::size_t around = kNone;
    bool first = true, nested = true;
    ForEachMember(members(u), [&](std::size_t otu) {
      if (first) around = smallest[otu];
      nested = nested && smallest[otu] == around;
      first = false;
    });
    if (!nested) {
      // A cluster around some members that does not hold them all overlaps this one unnested.
      std::size_t other = kNone;
      ForEachMember(members(u), [&](std::size_t otu) {
        if (other == kNone && smallest[otu] != kNone && !Inside(members(u), members(smallest[otu]))) other = smallest[otu];
      });
      const std::size_t a = used[u].position, b = used[other].position;
      return Contradiction(clusters[std::min(a, b)], clusters[std::max(a, b)], names);
    }
    parent[u] = around;
    depth[u] = around == kNone ? 1 : depth[around] + 1;
    ForEachMember(members(u), [&](std::size_t otu) { smallest[otu] = u; });
  }
  const auto root = std::find_if(used.begin(), used.end(), [&](const UsedCluster& cluster) { return cluster.size == n; });
  if (root == used.end() || n == 0) {
    return Failure{"No qualifying cluster holds all " + std::to_string(n) +
                   " OTUs of the first tree, so the clusters do not form one tree: there is no consensus tree.\r\n"
                   "Check that every tree has the OTUs of the first tree."};
  }

  // Order of construction. An OTU's counter is 1 + its clusters not yet taken.
  std::vector<std::size_t> counter(n);
  for (std::size_t otu = 0; otu < n; ++otu) counter[otu] = 1 + depth[smallest[otu]];
  // Among the members of a cluster, the OTU with the highest counter, then the smallest smallest
  // cluster, then the first.
  const auto pick = [&](const Cluster& among) {
    std::size_t best = kNone;
    ForEachMember(among, [&](std::size_t otu) {
      if (best == kNone || counter[otu] > counter[best] ||
          (counter[otu] == counter[best] && size(smallest[otu]) < size(smallest[best]))) {
        best = otu;
      }
    });
    return best;
  };
  const std::size_t steps = used.size();
  std::vector<std::size_t> order(steps);
  std::vector<std::size_t> placedAt(n, kNone);
  // The OTUs placed at step p: placedOtus[placedFrom[p] .. placedFrom[p + 1]).
  std::vector<std::size_t> placedOtus, placedFrom(steps + 1, 0);
  placedOtus.reserve(n);
  for (std::size_t p = 0; p < steps; ++p) {
    std::size_t taken;
    if (p == 0) {
      taken = smallest[pick(members(static_cast<std::size_t>(root - used.begin())))];
    } else {
      const std::size_t up = parent[order[p - 1]];
      if (up == kNone) return Failure{"Consensus: Error in FromTo function"};
      std::size_t firstCounter = kNone;
      bool even = true;
      ForEachMember(members(up), [&](std::size_t otu) {
        if (firstCounter == kNone) firstCounter = counter[otu];
        even = even && counter[otu] == firstCounter;
      });
      taken = even ? up : smallest[pick(members(up))];
    }
    order[p] = taken;
    placedFrom[p] = placedOtus.size();
    ForEachMember(members(taken), [&](std::size_t otu) {
      --counter[otu];
      if (placedAt[otu] == kNone) {
        placedAt[otu] = p;
        placedOtus.push_back(otu);
      }
    });
  }
  placedFrom[steps] = placedOtus.size();

  // Writing: a group opens before the first OTU placed at the earliest step among its members.
  std::vector<std::size_t> opensBefore(n, 0), openingOtu(steps);
  for (std::size_t p = 0; p < steps; ++p) {
    std::size_t earliest = p;
    ForEachMember(members(order[p]), [&](std::size_t otu) { earliest = std::min(earliest, placedAt[otu]); });
    openingOtu[p] = earliest == p ? placedOtus[placedFrom[p]] : openingOtu[earliest];
    ++opensBefore[openingOtu[p]];
  }
  std::string text;
  for (std::size_t p = 0; p < steps; ++p) {
    for (std::size_t k = placedFrom[p]; k < placedFrom[p + 1]; ++k) {
      const std::size_t otu = placedOtus[k];
      if (!text.empty()) text += ',';
      text.append(opensBefore[otu], '(');
      text += names[otu];
    }
    text += ')';
    text += used[order[p]].label;
  }
  text += ';';
  if (bracketLabels) {
    const std::size_t open = text.rfind('<'), close = text.rfind('>');
    if (open != std::string::npos && close != std::string::npos && open < close) {
      text.replace(open + 1, close - open - 1, "TreeID~" + treeId);
    }
  }
  if (rMode) std::erase(text, ' ');
  ConsensusBuild built{std::move(text), {}};
  for (std::size_t step : order) built.groups.push_back(used[step].position);
  return built;
}

}  // namespace vorn
