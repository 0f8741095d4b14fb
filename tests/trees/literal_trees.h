// Plain, slow implementations of the tree algorithms exactly as their steps are stated: the
// UPGMA that rescans and rebuilds the reduced triangle at every join, the Newick writer that
// fills placeholders fragment by fragment, and the consensus writer that inserts each "(" into
// the text. The fast code in src/trees must give the same results.
#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "core/distance_matrix.h"
#include "core/label_table.h"
#include "core/number_format.h"
#include "core/result.h"
#include "trees/cluster_table.h"
#include "trees/tree_node.h"

namespace vorn::literal {

// Height of a node: the length sum down the path of lowest-numbered children.
inline Real Height(const TreeNodeTable& table, std::size_t number) {
  for (std::size_t c = 1; c <= table.Count(); ++c) {
    if (table[c].node == number) return table[c].IsLeaf() ? table[c].length : table[c].length + Height(table, c);
  }
  return 0;
}

inline Result<TreeNodeTable> UPGMA(const DistanceMatrix& distances, const LabelTable& labels) {
  const std::size_t n = distances.n;
  std::vector<Real> tri = distances.entries;
  std::vector<std::size_t> map(n);  // cluster label: OTU i is i + 1, record k is n + k
  for (std::size_t i = 0; i < n; ++i) map[i] = i + 1;
  const auto at = [&](std::size_t r, std::size_t c) { return tri[TriangleIndex(r, c)]; };
  TreeNodeTable table;
  std::size_t m = n;
  while (m > 1) {
    Real minimum = 1000;
    for (std::size_t r = 0; r < m; ++r) {
      for (std::size_t c = 0; c < r; ++c) {
        if (at(r, c) < minimum) minimum = at(r, c);
      }
    }
    if (minimum == 1000) return Failure{"psTrees.UPGMA/ShortestDist: error in input matrix"};
    std::vector<std::pair<std::size_t, std::size_t>> pairs;
    for (std::size_t r = 0; r < m; ++r) {
      for (std::size_t c = 0; c < r; ++c) {
        if (at(r, c) == minimum) pairs.emplace_back(r, c);
      }
    }
    if (pairs.empty()) return Failure{"FirstLinkedSet: Nothing found"};
    std::vector<std::size_t> set{pairs[0].first, pairs[0].second};
    for (std::size_t i = 0; i < set.size(); ++i) {
      const std::size_t b = set[i];
      for (const auto& [r, c] : pairs) {
        if (r != b && c != b) continue;
        const std::size_t partner = r == b ? c : r;
        if (std::find(set.begin(), set.end(), partner) == set.end()) set.push_back(partner);
      }
    }
    Real sum = 0;
    for (std::size_t i = 0; i < set.size(); ++i) {
      for (std::size_t j = i + 1; j < set.size(); ++j) sum += at(set[i], set[j]);
    }
    const Real h = sum / (2 * (static_cast<Real>(set.size()) * static_cast<Real>(set.size() - 1) / 2));
    const std::size_t otuMembers = static_cast<std::size_t>(std::count_if(set.begin(), set.end(), [&](std::size_t s) { return map[s] <= n; }));
    const std::size_t joined = table.Count() + otuMembers + 1;
    for (std::size_t s : set) {
      if (map[s] <= n) {
        TreeNode leaf;
        leaf.name = labels.Count() == n ? labels[map[s] - 1] : "OTU" + std::to_string(map[s]);
        leaf.length = h;
        leaf.node = static_cast<std::uint16_t>(joined);
        table.Append(leaf);
      } else {
        TreeNode& node = table[map[s] - n];
        node.name = "Internal";
        node.length = h - Height(table, map[s] - n);
        node.node = static_cast<std::uint16_t>(joined);
      }
    }
    TreeNode node;
    node.name = "internal";
    node.descendants = static_cast<std::uint16_t>(set.size());
    table.Append(node);

    std::vector<std::size_t> rest;
    for (std::size_t c = 0; c < m; ++c) {
      if (std::find(set.begin(), set.end(), c) == set.end()) rest.push_back(c);
    }
    std::vector<Real> reduced;
    std::vector<std::size_t> reducedMap;
    for (std::size_t a = 0; a < rest.size(); ++a) {
      for (std::size_t b = 0; b <= a; ++b) reduced.push_back(at(rest[a], rest[b]));
      reducedMap.push_back(map[rest[a]]);
    }
    for (std::size_t t : rest) {
      Real total = 0;
      for (std::size_t s : set) total += at(s, t);
      reduced.push_back(total / static_cast<Real>(set.size()));
    }
    reduced.push_back(0);
    reducedMap.push_back(n + joined);
    tri = std::move(reduced);
    map = std::move(reducedMap);
    m = m - set.size() + 1;
  }
  table[table.Count()].name = "last node";
  return table;
}

// The two-pass writer with "<number>" placeholders.
inline std::string TreeToNewick(const TreeNodeTable& table, const std::string& label) {
  std::size_t count = 1;
  while (table[count].node != 0) ++count;
  std::vector<std::pair<std::size_t, std::string>> fragments;
  for (std::size_t p = count; p >= 1; --p) {
    if (table[p].descendants == 0) continue;
    std::string fragment;
    std::size_t children = 0;
    for (std::size_t q = count; q >= 1; --q) {
      if (table[q].node != table[p].number) continue;
      fragment += children == 0 ? "(" : ", ";
      std::string number = std::to_string(table[q].number);
      fragment += "<" + std::string(5 - number.size(), ' ') + number + ">:" + FormatReal(table[q].length);
      if (++children == table[p].descendants) fragment += ")";
    }
    fragments.emplace_back(table[p].number, fragment);
  }
  std::string text = fragments.front().second;
  const std::size_t leaves = count - fragments.size();
  std::size_t replaced = 0;
  for (std::size_t from = 0; replaced < leaves;) {
    const std::size_t open = text.find('<', from);
    if (open == std::string::npos) break;
    const std::size_t close = text.find('>', open);
    const std::size_t number = std::stoul(text.substr(open + 1, close - open - 1));
    std::string replacement;
    if (table[number].descendants == 0) {
      replacement = table[number].name;
      ++replaced;
    } else {
      for (const auto& [tag, fragment] : fragments) {
        if (tag == number) replacement = fragment;
      }
    }
    text.replace(open, close - open + 1, replacement);
    from = open + 1;
  }
  return text + CutLabel(label) + "; ";
}

// The consensus construction over the used clusters (membership bytes, table order) with their
// labels: counters, parents by fewest extra members, the order of construction, and the text
// built by inserting each "(" at its recorded position.
inline std::string Consensus(const std::vector<std::vector<std::uint8_t>>& used, const std::vector<std::string>& labels,
                             const std::vector<std::string>& names) {
  const std::size_t n = names.size(), count = used.size();
  std::vector<std::size_t> size(count, 0);
  for (std::size_t u = 0; u < count; ++u) size[u] = static_cast<std::size_t>(std::count(used[u].begin(), used[u].end(), 1));
  std::vector<std::size_t> counter(n, 1), smallest(n, count);
  for (std::size_t x = 0; x < n; ++x) {
    for (std::size_t u = 0; u < count; ++u) {
      if (!used[u][x]) continue;
      ++counter[x];
      if (smallest[x] == count || size[u] < size[smallest[x]]) smallest[x] = u;
    }
  }
  const auto inside = [&](std::size_t e, std::size_t i) {
    if (size[e] >= size[i]) return false;
    for (std::size_t x = 0; x < n; ++x) {
      if (used[e][x] && !used[i][x]) return false;
    }
    return true;
  };
  const auto parent = [&](std::size_t e) {
    std::size_t best = count;
    for (std::size_t i = 0; i < count; ++i) {
      if (inside(e, i) && (best == count || size[i] < size[best])) best = i;
    }
    return best;
  };
  const auto pick = [&](const std::vector<std::size_t>& candidates) {
    std::size_t best = candidates[0];
    for (std::size_t x : candidates) {
      if (counter[x] > counter[best] || (counter[x] == counter[best] && size[smallest[x]] < size[smallest[best]])) best = x;
    }
    return best;
  };
  std::vector<std::size_t> all(n), order;
  for (std::size_t x = 0; x < n; ++x) all[x] = x;
  for (std::size_t p = 0; p < count; ++p) {
    std::size_t taken = p == 0 ? smallest[pick(all)] : parent(order.back());
    if (p > 0) {
      std::vector<std::size_t> members;
      for (std::size_t x = 0; x < n; ++x) {
        if (used[taken][x]) members.push_back(x);
      }
      for (std::size_t x : members) {
        if (counter[x] != counter[members[0]]) {
          taken = smallest[pick(members)];
          break;
        }
      }
    }
    order.push_back(taken);
    for (std::size_t x = 0; x < n; ++x) counter[x] -= used[taken][x];
  }

  std::vector<long> placedAt(n, -1);
  std::vector<std::size_t> opening(count);
  std::string text;
  for (std::size_t p = 0; p < count; ++p) {
    const auto& members = used[order[p]];
    std::size_t firstPosition = std::string::npos;
    for (std::size_t x = 0; x < n; ++x) {
      if (!members[x] || placedAt[x] >= 0) continue;
      placedAt[x] = static_cast<long>(p);
      if (!text.empty()) text += ",";
      if (firstPosition == std::string::npos) firstPosition = text.size();
      text += names[x];
    }
    long earliest = static_cast<long>(p);
    for (std::size_t x = 0; x < n; ++x) {
      if (members[x]) earliest = std::min(earliest, placedAt[x]);
    }
    const std::size_t position = earliest == static_cast<long>(p) ? firstPosition : opening[earliest];
    text.insert(position, "(");
    opening[p] = position;
    text += ")" + labels[order[p]];
  }
  return text + ";";
}

}  // namespace vorn::literal
