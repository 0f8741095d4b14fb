// The joins follow the reduced-triangle algorithm exactly, without rebuilding the triangle:
// clusters live in slots of the original triangle (a new cluster reuses its highest member slot;
// entries of departed slots are stale and every reader skips them), and an order key per slot
// (OTUs 0..n-1, each new cluster the next number) stands for the cluster's position in the
// reduced triangle, where new clusters are appended last. Each slot keeps the first candidate
// pair of its row (the slots below it) in reduced-triangle order; a row whose best pair a join
// removed keeps only a lower bound of its distances and is scanned again once the smallest
// distance may lie in it. A join thus costs a pass over the slots and the rows of its members,
// plus the rescans that the rising minimum calls for.
#include "trees/upgma.h"

#include <algorithm>
#include <bit>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "core/progress.h"

namespace vorn {
namespace {

constexpr Real kCeiling = 1000;  // distances of this size or more are never joined
constexpr std::size_t kNone = static_cast<std::size_t>(-1);

// The place of a pair in the reduced triangle's storage order, after its distance: the later of
// the two clusters is the row, the earlier the column.
struct PairRank {
  Real distance = kCeiling;
  std::uint32_t rowKey = 0;
  std::uint32_t columnKey = 0;
};

bool Before(const PairRank& a, const PairRank& b) {
  if (a.distance != b.distance) return a.distance < b.distance;
  return a.rowKey != b.rowKey ? a.rowKey < b.rowKey : a.columnKey < b.columnKey;
}

class UpgmaBuilder {
 public:
  UpgmaBuilder(DistanceMatrix distances, const LabelTable& labels)
      : d_(std::move(distances)), n_(d_.n), active_(n_, 1), inSet_(n_, 0), key_(n_), record_(n_, 0),
        best_(n_), exact_(n_, 0), bestColumn_(n_, kNone), heights_(2 * n_, 0), scratch_(n_) {
    names_.reserve(n_);
    for (std::size_t i = 0; i < n_; ++i) {
      names_.push_back(labels.Count() == n_ ? labels[i] : "OTU" + std::to_string(i + 1));
      key_[i] = static_cast<std::uint32_t>(i);
    }
    nextKey_ = static_cast<std::uint32_t>(n_);
    table_.Reserve(2 * n_);
    for (std::size_t s = 0; s < n_; ++s) {
      RescanRow(s);
      activeSlots_.push_back(s);
    }
  }

  Result<TreeNodeTable> Build() {
    while (activeSlots_.size() > 1) {
      KeepResponsive();
      Real minimum;
      std::size_t row;
      if (auto failure = FindShortest(minimum, row)) return *failure;
      const std::vector<std::size_t> members = LinkedSet(row, minimum);
      const std::uint16_t joined = WriteRecords(members, JoinHeight(members));
      Merge(members, joined);
    }
    table_[table_.Count()].name = "last node";
    return std::move(table_);
  }

 private:
  Real& At(std::size_t a, std::size_t b) { return d_.entries[TriangleIndex(a, b)]; }

  bool IsOtu(std::size_t slot) const { return record_[slot] == 0; }

  // The first candidate pair of slot s with a slot below it: the row's smallest distance, and
  // among several pairs at it the first in storage order.
  void RescanRow(std::size_t s) {
    const Real* row = &d_.entries[TriangleIndex(s, 0)];
    Real minimum = kCeiling;
    std::size_t column = kNone;
    bool tied = false;
    for (std::size_t t = 0; t < s; ++t) {
      const Real v = row[t];
      if (v < minimum) {
        if (active_[t]) {
          minimum = v;
          column = t;
          tied = false;
        }
      } else if (v == minimum && active_[t]) {
        tied = true;
      }
    }
    if (column == kNone) {
      best_[s] = PairRank{};
      bestColumn_[s] = kNone;
      return;
    }
    const auto rank = [&](std::size_t t) { return PairRank{row[t], std::max(key_[s], key_[t]), std::min(key_[s], key_[t])}; };
    PairRank best = rank(column);
    for (std::size_t t = column + 1; tied && t < s; ++t) {
      if (row[t] == minimum && active_[t] && Before(rank(t), best)) {
        best = rank(t);
        column = t;
      }
    }
    best_[s] = best;
    bestColumn_[s] = column;
    exact_[s] = 1;
  }

  // Marks the row of slot s as known only by a lower bound of its distances.
  void Loosen(std::size_t s, Real bound) {
    exact_[s] = 0;
    best_[s] = PairRank{bound};
    bestColumn_[s] = kNone;
  }

  // The smallest distance between two clusters, the row slot of the first pair at it and the
  // rows holding a pair at it; or the failure when nothing can be joined. Diagonal entries are
  // never candidates, whatever they hold: a cluster is not joined with itself (an Average
  // matrix can hold any value between its bounds there).
  std::optional<Failure> FindShortest(Real& minimum, std::size_t& row) {
    PairRank first;
    row = kNone;
    const auto consider = [&](std::size_t s) {
      if (bestColumn_[s] != kNone && Before(best_[s], first)) {
        first = best_[s];
        row = s;
      }
    };
    for (std::size_t s : activeSlots_) {
      if (exact_[s]) consider(s);
    }
    for (std::size_t s : activeSlots_) {
      if (!exact_[s] && best_[s].distance <= first.distance) {
        RescanRow(s);
        consider(s);
      }
    }
    if (row == kNone) return Failure{"psTrees.UPGMA/ShortestDist: error in input matrix"};
    minimum = first.distance;
    tiedRows_.clear();
    for (std::size_t s : activeSlots_) {
      if (exact_[s] && bestColumn_[s] != kNone && best_[s].distance == minimum) tiedRows_.push_back(s);
    }
    return std::nullopt;
  }

  // The clusters connected to the first pair by pairs at the minimum: the pair's row cluster,
  // its column cluster, then each member's partners in storage order of their pairs, which is
  // the partners' order keys ascending. A partner above a member lies in a row tied at the
  // minimum; one below it, in the member's own row, only when that row is tied.
  std::vector<std::size_t> LinkedSet(std::size_t row, Real minimum) {
    const std::size_t column = bestColumn_[row];
    std::vector<std::size_t> members;
    if (key_[row] > key_[column]) members = {row, column};
    else members = {column, row};
    for (std::size_t m : members) inSet_[m] = 1;
    std::vector<std::size_t> partners;
    for (std::size_t i = 0; i < members.size(); ++i) {
      const std::size_t b = members[i];
      partners.clear();
      if (exact_[b] && bestColumn_[b] != kNone && best_[b].distance == minimum) {
        for (std::size_t x = 0; x < b; ++x) {
          if (active_[x] && At(b, x) == minimum) partners.push_back(x);
        }
      }
      for (std::size_t x : tiedRows_) {
        if (x > b && At(x, b) == minimum) partners.push_back(x);
      }
      std::sort(partners.begin(), partners.end(), [&](std::size_t x, std::size_t y) { return key_[x] < key_[y]; });
      for (std::size_t x : partners) {
        if (!inSet_[x]) {
          inSet_[x] = 1;
          members.push_back(x);
        }
      }
    }
    for (std::size_t m : members) inSet_[m] = 0;
    return members;
  }

  // Half the mean distance among the members, summed over the pairs in set order.
  Real JoinHeight(const std::vector<std::size_t>& members) {
    Real sum = 0;
    for (std::size_t i = 0; i < members.size(); ++i) {
      for (std::size_t j = i + 1; j < members.size(); ++j) sum += At(members[i], members[j]);
    }
    const Real pairs = static_cast<Real>(members.size()) * static_cast<Real>(members.size() - 1) / 2;
    return sum / (2 * pairs);
  }

  // Records for the join at height h: a leaf per OTU member (numbered in set order), the
  // internal members attached, then the new node. Gives the new node's number. With at most
  // kMaxTreeOtus OTUs every number, and every member count, fits 16 bits.
  std::uint16_t WriteRecords(const std::vector<std::size_t>& members, Real h) {
    const std::size_t otuMembers = static_cast<std::size_t>(std::count_if(members.begin(), members.end(), [&](std::size_t m) { return IsOtu(m); }));
    const auto joined = static_cast<std::uint16_t>(table_.Count() + otuMembers + 1);
    std::size_t firstChild = kNone;
    for (std::size_t m : members) {
      std::size_t number;
      if (IsOtu(m)) {
        TreeNode leaf;
        leaf.name = names_[m];
        leaf.length = h;
        leaf.node = joined;
        number = table_.Append(std::move(leaf)).number;
      } else {
        number = record_[m];
        TreeNode& node = table_[number];
        node.name = "Internal";
        node.length = h - heights_[number];
        node.node = joined;
      }
      firstChild = std::min(firstChild, number);
    }
    TreeNode node;
    node.name = "internal";
    node.descendants = static_cast<std::uint16_t>(members.size());
    table_.Append(std::move(node));
    // A node's height is the length sum down its first-child path (the lowest-numbered child).
    const TreeNode& first = table_[firstChild];
    heights_[joined] = first.IsLeaf() ? first.length : first.length + heights_[firstChild];
    return joined;
  }

  // Calls visit(t, entry) for the entries of slot m with every slot t other than m, ascending:
  // along its row, then down its column, where the entries lie far apart and are fetched ahead.
  template <typename Visit>
  void ForEachEntry(std::size_t m, Visit visit) {
    Real* entries = d_.entries.data();
    Real* row = entries + TriangleIndex(m, 0);
    for (std::size_t t = 0; t < m; ++t) visit(t, row[t]);
    constexpr std::size_t kAhead = 24;
    // Entry (t, m) lies at t(t+1)/2 + m, so going down the column adds t + 1 each time.
    std::size_t at = TriangleIndex(m + 1, m), ahead = TriangleIndex(m + 1 + kAhead, m);
    for (std::size_t t = m + 1; t < n_; at += t + 1, ahead += t + 1 + kAhead, ++t) {
      if (t + kAhead < n_) __builtin_prefetch(entries + ahead, 1);
      visit(t, entries[at]);
    }
  }

  // Replaces the members by the new cluster in the highest member slot p: its distance to each
  // other cluster is the mean of the members' distances, summed in set order. The pass over the
  // last member's entries completes each mean and writes it into p's entry nearby.
  void Merge(const std::vector<std::size_t>& members, std::uint16_t joined) {
    std::fill(scratch_.begin(), scratch_.end(), Real{0});
    for (std::size_t m : members) active_[m] = 0;
    const std::size_t p = *std::max_element(members.begin(), members.end());
    for (std::size_t i = 0; i + 1 < members.size(); ++i) {
      ForEachEntry(members[i], [&](std::size_t t, Real entry) { scratch_[t] += entry; });
    }
    // Dividing by a power of two is multiplying by its reciprocal, exactly and faster.
    const std::size_t count = members.size();
    const bool byReciprocal = std::has_single_bit(count);
    const Real reciprocal = Real{1} / static_cast<Real>(count);
    Real* entries = d_.entries.data();
    const std::size_t rowOfP = TriangleIndex(p, 0);
    Real rowBound = kCeiling;
    ForEachEntry(members.back(), [&](std::size_t t, Real entry) {
      if (!active_[t]) return;
      Real mean = scratch_[t] + entry;
      mean = byReciprocal ? mean * reciprocal : mean / static_cast<Real>(count);
      scratch_[t] = mean;
      if (t < p) {
        entries[rowOfP + t] = mean;
        if (mean < rowBound) rowBound = mean;
      } else {
        entries[TriangleIndex(t, p)] = mean;
      }
    });
    active_[p] = 1;
    key_[p] = nextKey_++;
    record_[p] = joined;
    At(p, p) = 0;
    std::erase_if(activeSlots_, [&](std::size_t s) { return !active_[s]; });

    // Rows above p gained the entry (s, p); rows whose best pair involved a member lost it.
    for (std::size_t s : activeSlots_) {
      if (s == p) continue;
      const bool gained = s > p;
      const std::size_t column = bestColumn_[s];
      if (exact_[s] && column != kNone && (!active_[column] || column == p)) Loosen(s, best_[s].distance);
      if (!exact_[s]) {
        if (gained && scratch_[s] < best_[s].distance) best_[s].distance = scratch_[s];
      } else if (gained) {
        const PairRank rank{scratch_[s], key_[p], key_[s]};
        if (Before(rank, best_[s]) && rank.distance < kCeiling) {
          best_[s] = rank;
          bestColumn_[s] = p;
        }
      }
    }
    Loosen(p, rowBound);
  }

  DistanceMatrix d_;
  std::size_t n_;
  std::vector<std::string> names_;
  std::vector<std::uint8_t> active_;
  std::vector<std::size_t> activeSlots_;  // the slots of the clusters left, in no particular order
  std::vector<std::uint8_t> inSet_;
  std::vector<std::uint32_t> key_;
  std::vector<std::uint16_t> record_;   // the internal node a slot holds; 0 while it holds its OTU
  std::vector<PairRank> best_;           // the row's first candidate pair, or a lower bound of its distances
  std::vector<std::uint8_t> exact_;      // whether best_ is the pair itself
  std::vector<std::size_t> bestColumn_;
  std::vector<Real> heights_;           // by record number
  std::vector<Real> scratch_;
  std::vector<std::size_t> tiedRows_;     // slots whose row holds a pair at the current minimum
  std::uint32_t nextKey_ = 0;
  TreeNodeTable table_;
};

}  // namespace

std::optional<Failure> TreeSizeRefusal(std::size_t otus) {
  if (otus < 2) return Failure{"A tree needs at least two individuals."};
  if (otus > kMaxTreeOtus) return Failure{"A tree can hold at most " + std::to_string(kMaxTreeOtus) + " individuals."};
  return std::nullopt;
}

Result<TreeNodeTable> BuildUPGMA(DistanceMatrix distances, const LabelTable& labels) {
  if (auto refusal = TreeSizeRefusal(distances.n)) return *refusal;
  return UpgmaBuilder(std::move(distances), labels).Build();
}

}  // namespace vorn
