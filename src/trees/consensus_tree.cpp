// The construction takes one qualifying cluster per step, children before parents: it starts
// below the OTU with the most clusters around it and climbs to each cluster's parent, turning
// aside into a sibling group while one is left unbuilt. Each OTU is placed at the step of the
// first cluster that takes it; a group opens before the first OTU placed in it.
#include "trees/consensus_tree.h"

#include <algorithm>
#include <cmath>

#include "core/number_format.h"

namespace vorn {
namespace {

constexpr std::size_t kNone = static_cast<std::size_t>(-1);

// count / treeCount as a whole percentage, halves to the even neighbour, computed exactly.
std::uint64_t RoundedPercentage(std::uint32_t count, std::uint32_t treeCount) {
  if (treeCount == 0) return 0;
  const std::uint64_t scaled = std::uint64_t{100} * count;
  std::uint64_t percentage = scaled / treeCount;
  const std::uint64_t twiceRest = 2 * (scaled % treeCount);
  if (twiceRest > treeCount || (twiceRest == treeCount && percentage % 2 == 1)) ++percentage;
  return percentage;
}

struct UsedCluster {
  std::size_t position;              // in the cluster table, from 0
  std::vector<std::size_t> members;  // OTU positions, ascending
  std::string label;
};

}  // namespace

Failure TTrees::Contradiction(std::size_t first, std::size_t second) const {
  std::string message = "Clusters #" + std::to_string(first + 1) + " and #" + std::to_string(second + 1) +
                        " of the cluster report both qualify but contradict each other (they share OTUs and neither "
                        "holds the other): there is no consensus tree.";
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
  const std::size_t n = names.size();
  const std::uint64_t required = RequiredCount(treeCount);
  std::vector<UsedCluster> used;
  for (std::size_t i = 0; i < clusters.size(); ++i) {
    const Cluster& cluster = clusters[i];
    if (rMode ? cluster.r > maxR : cluster.count < required) continue;
    UsedCluster entry{i, {}, {}};
    for (std::size_t otu = 0; otu < n; ++otu) {
      if (cluster.Has(otu)) entry.members.push_back(otu);
    }
    if (rMode) {
      if (rDigits != 255) entry.label = labelPrefix + FormatFixed(std::log10(static_cast<Real>(cluster.r)), rDigits, 4);
    } else if (bracketLabels || showLabels) {
      const std::string percentage = std::to_string(RoundedPercentage(cluster.count, treeCount));
      entry.label = bracketLabels ? "<" + percentage + ">" : percentage;
    }
    used.push_back(std::move(entry));
  }
  if (used.empty()) {
    if (rMode) return Failure{"No cluster has an r value of at most " + std::to_string(maxR) + ": there is no consensus tree."};
    return Failure{"No cluster is found in at least " + std::to_string(required) + " of the " + std::to_string(treeCount) +
                   " trees: there is no consensus tree."};
  }
  const auto size = [&](std::size_t u) { return used[u].members.size(); };

  // The clusters around each OTU, smallest first; they must be nested, each inside the next,
  // which makes the next one its parent.
  std::vector<std::vector<std::size_t>> around(n);
  for (std::size_t u = 0; u < used.size(); ++u) {
    for (std::size_t otu : used[u].members) around[otu].push_back(u);
  }
  std::vector<std::size_t> parent(used.size(), kNone);
  for (auto& chain : around) {
    std::sort(chain.begin(), chain.end(), [&](std::size_t a, std::size_t b) { return size(a) != size(b) ? size(a) < size(b) : a < b; });
    for (std::size_t k = 0; k + 1 < chain.size(); ++k) {
      const std::size_t inner = chain[k], outer = chain[k + 1];
      if (parent[inner] == outer) continue;
      const Cluster& outerCluster = clusters[used[outer].position];
      const bool inside = size(inner) < size(outer) &&
                          std::all_of(used[inner].members.begin(), used[inner].members.end(), [&](std::size_t otu) { return outerCluster.Has(otu); });
      // A second, different cluster around inner means the two around it overlap unnested.
      if (!inside) return Contradiction(used[inner].position, used[outer].position);
      if (parent[inner] != kNone) return Contradiction(used[parent[inner]].position, used[outer].position);
      parent[inner] = outer;
    }
  }
  const auto root = std::find_if(used.begin(), used.end(), [&](const UsedCluster& cluster) { return cluster.members.size() == n; });
  if (root == used.end() || n == 0) {
    return Failure{"No qualifying cluster holds all " + std::to_string(n) +
                   " OTUs of the first tree, so the clusters do not form one tree: there is no consensus tree.\r\n"
                   "Check that every tree has the OTUs of the first tree."};
  }

  // Order of construction. An OTU's counter is 1 + its clusters not yet taken.
  std::vector<std::size_t> counter(n), smallest(n);
  for (std::size_t otu = 0; otu < n; ++otu) {
    counter[otu] = 1 + around[otu].size();
    smallest[otu] = around[otu].front();
  }
  // The OTU with the highest counter, then the smallest smallest cluster, then the first.
  const auto pick = [&](const std::vector<std::size_t>& candidates) {
    std::size_t best = candidates.front();
    for (std::size_t otu : candidates) {
      if (counter[otu] > counter[best] || (counter[otu] == counter[best] && size(smallest[otu]) < size(smallest[best]))) best = otu;
    }
    return best;
  };
  const std::size_t steps = used.size();
  std::vector<std::size_t> order(steps);
  std::vector<std::size_t> placedAt(n, kNone);
  std::vector<std::vector<std::size_t>> placedOtus(steps);
  for (std::size_t p = 0; p < steps; ++p) {
    std::size_t taken;
    if (p == 0) {
      taken = smallest[pick(root->members)];
    } else {
      const std::size_t up = parent[order[p - 1]];
      if (up == kNone) return Failure{"Consensus: Error in FromTo function"};
      const auto& members = used[up].members;
      const bool even = std::all_of(members.begin(), members.end(), [&](std::size_t otu) { return counter[otu] == counter[members.front()]; });
      taken = even ? up : smallest[pick(members)];
    }
    order[p] = taken;
    for (std::size_t otu : used[taken].members) {
      --counter[otu];
      if (placedAt[otu] == kNone) {
        placedAt[otu] = p;
        placedOtus[p].push_back(otu);
      }
    }
  }

  // Writing: a group opens before the first OTU placed at the earliest step among its members.
  std::vector<std::size_t> opensBefore(n, 0), openingOtu(steps);
  for (std::size_t p = 0; p < steps; ++p) {
    std::size_t earliest = p;
    for (std::size_t otu : used[order[p]].members) earliest = std::min(earliest, placedAt[otu]);
    openingOtu[p] = earliest == p ? placedOtus[p].front() : openingOtu[earliest];
    ++opensBefore[openingOtu[p]];
  }
  std::string text;
  for (std::size_t p = 0; p < steps; ++p) {
    for (std::size_t otu : placedOtus[p]) {
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
  return text;
}

}  // namespace vorn
