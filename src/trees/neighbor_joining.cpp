// The clusters left occupy slots 0 .. m - 1 of the triangle: a join puts the new cluster in the
// lower slot of the pair and moves the last slot into the higher one, so every scan runs over
// the first m(m + 1)/2 entries, row after row. Slot order is not the row order of the rules: an
// order key per slot (OTUs 0 .. n - 1, each new cluster the next number) stands for it.
//
// The triangle keeps each 80-bit distance as its nearest double and the exact remainder
// (SplitReals), 10 bytes a pair. The search scans the doubles: per row the smallest
// (m - 2) d(i, j) - R(j), in vector registers, then every pair whose double Q lies within a
// rounding bound (widened by the tie tolerance) of the smallest is taken up again in 80-bit
// reals, where the smallest Q and the tie rule decide. So the joins are those of a search done
// wholly in 80-bit reals, at the speed of a scan of doubles.
#include "trees/neighbor_joining.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "core/progress.h"
#include "core/split_reals.h"
#include "similarity/distance_transformation.h"
#include "trees/upgma.h"

namespace vorn {
namespace {

constexpr double kUnitRoundoff = std::numeric_limits<double>::epsilon() / 2;

struct Candidate {
  Real q;
  std::uint32_t rowKey;     // the later cluster in row order
  std::uint32_t columnKey;  // the earlier one
  std::size_t row, column;  // their slots
};

bool FirstInRowOrder(const Candidate& a, const Candidate& b) {
  return a.rowKey != b.rowKey ? a.rowKey < b.rowKey : a.columnKey < b.columnKey;
}

class NeighborJoiner {
 public:
  // The distances are value(source(i, j)), read once.
  template <class Value>
  NeighborJoiner(const DistanceMatrix& source, Value value, const LabelTable& labels)
      : d_(TriangleSize(source.n)), n_(source.n), m_(n_), key_(n_), record_(n_, 0), otu_(n_), sums_(n_, 0),
        fastSums_(n_), rowMinimum_(n_) {
    for (std::size_t k = 0; k < d_.Count(); ++k) d_.Set(k, value(source.entries[k]));
    names_.reserve(n_);
    for (std::size_t i = 0; i < n_; ++i) {
      names_.push_back(labels.Count() == n_ ? labels[i] : "OTU" + std::to_string(i + 1));
      key_[i] = static_cast<std::uint32_t>(i);
      otu_[i] = i;
    }
    nextKey_ = static_cast<std::uint32_t>(n_);
    result_.table.Reserve(2 * n_);
  }

  // The pair, if any, whose distance is undefined (not a number, infinite or negative).
  std::optional<Failure> CheckDistances() const {
    for (std::size_t i = 1; i < n_; ++i) {
      for (std::size_t j = 0; j < i; ++j) {
        const Real v = D(i, j);
        if (!(v >= 0) || std::isinf(v)) {
          return Failure{"The distance between " + names_[j] + " and " + names_[i] +
                         " is undefined; no Neighbor-Joining tree was built."};
        }
      }
    }
    return std::nullopt;
  }

  NeighborJoiningTree Build() {
    for (std::size_t i = 0; i < n_; ++i) {
      for (std::size_t j = 0; j < i; ++j) {
        const Real v = D(i, j);
        sums_[i] += v;
        sums_[j] += v;
        largest_ = std::max(largest_, static_cast<double>(v));
      }
    }
    while (m_ > 3) {
      KeepResponsive();
      Join(Smallest());
    }
    JoinLast();
    return std::move(result_);
  }

 private:
  Real D(std::size_t a, std::size_t b) const { return d_.At(TriangleIndex(a, b)); }

  // With four clusters left Q(i, j) = -(d(i, k) + d(i, l) + d(j, k) + d(j, l)) = Q(k, l): joining
  // either pair gives the same unrooted tree. Both are summed alike, smallest term first, so that
  // the tie is exact and the first pair in row order joins, as for every tie; a tie is noted
  // only when another split of the four is as good.
  Candidate SmallestOfFour() {
    candidates_.clear();
    Real magnitude = 0;
    for (std::size_t i = 1; i < 4; ++i) {
      for (std::size_t j = 0; j < i; ++j) {
        std::vector<Real> cross;
        for (std::size_t k = 0; k < 4; ++k) {
          if (k != i && k != j) cross.insert(cross.end(), {D(i, k), D(j, k)});
        }
        std::sort(cross.begin(), cross.end());
        const bool iLater = key_[i] > key_[j];
        const std::size_t later = iLater ? i : j, earlier = iLater ? j : i;
        const Real sum = ((cross[0] + cross[1]) + cross[2]) + cross[3];
        magnitude = std::max(magnitude, sum);
        candidates_.push_back({-sum, key_[later], key_[earlier], later, earlier});
      }
    }
    const auto [best, tied] = FirstOfTied(kJoinRoundingShare * magnitude);
    if (tied > 2) ++result_.notes.tiedJoins;
    return best;
  }

  // Among the candidates, those within tolerance of the smallest Q are tied: the first of them in
  // row order, and how many they are.
  std::pair<Candidate, std::size_t> FirstOfTied(Real tolerance) const {
    Real smallest = std::numeric_limits<Real>::infinity();
    for (const Candidate& c : candidates_) smallest = std::min(smallest, c.q);
    const Candidate* first = nullptr;
    std::size_t tied = 0;
    for (const Candidate& c : candidates_) {
      if (c.q > smallest + tolerance) continue;
      ++tied;
      if (!first || FirstInRowOrder(c, *first)) first = &c;
    }
    return {*first, tied};
  }

  // The pair with the smallest Q, the first in row order among ties.
  Candidate Smallest() {
    const std::size_t m = m_;
    if (m == 4) return SmallestOfFour();
    const double scale = static_cast<double>(m - 2);
    double largestSum = 0;
    for (std::size_t i = 0; i < m; ++i) {
      fastSums_[i] = static_cast<double>(sums_[i]);
      largestSum = std::max(largestSum, std::fabs(fastSums_[i]));
    }
    const double* fast = d_.Nearest();
    const double* sums = fastSums_.data();
    double* rowMinimum = rowMinimum_.data();
    rowMinimum[0] = std::numeric_limits<double>::infinity();
    for (std::size_t i = 1; i < m; ++i) {
      const double* row = fast + TriangleIndex(i, 0);
      double best = std::numeric_limits<double>::infinity();
#pragma omp simd reduction(min : best)
      for (std::size_t j = 0; j < i; ++j) {
        const double q = scale * row[j] - sums[j];
        best = q < best ? q : best;
      }
      rowMinimum[i] = best - sums[i];
    }
    const double smallest = *std::min_element(rowMinimum, rowMinimum + m);
    // Each double Q lies within a few roundings of its 80-bit value, each bounded by the
    // largest magnitudes that enter it; twice that bound around the smallest keeps every pair
    // that can be smallest in 80-bit reals, and the tie tolerance beyond it every pair tied.
    const double magnitude = scale * largest_ + 2 * largestSum;
    const Real tolerance = kJoinRoundingShare * static_cast<Real>(magnitude);
    const double bound = 16 * kUnitRoundoff * magnitude + std::numeric_limits<double>::min();
    const double limit = smallest + bound + 2 * static_cast<double>(tolerance);

    const Real mReal = static_cast<Real>(m - 2);
    candidates_.clear();
    for (std::size_t i = 1; i < m; ++i) {
      if (rowMinimum[i] > limit) continue;
      const double* row = fast + TriangleIndex(i, 0);
      for (std::size_t j = 0; j < i; ++j) {
        if (scale * row[j] - sums[j] - sums[i] > limit) continue;
        const bool iLater = key_[i] > key_[j];
        const std::size_t later = iLater ? i : j, earlier = iLater ? j : i;
        candidates_.push_back({mReal * D(i, j) - sums_[later] - sums_[earlier], key_[later], key_[earlier], later, earlier});
      }
    }
    const auto [best, tied] = FirstOfTied(tolerance);
    if (tied > 1) ++result_.notes.tiedJoins;
    return best;
  }

  // Hangs the cluster of slot s below the node numbered parent with the given branch length:
  // a new leaf record for an OTU, the cluster's own record otherwise.
  void Attach(std::size_t s, Real length, Real tolerance, std::uint16_t parent) {
    if (length < -tolerance) ++result_.notes.negativeLengths;
    if (record_[s] == 0) {
      TreeNode leaf;
      leaf.name = names_[otu_[s]];
      leaf.length = length;
      leaf.node = parent;
      result_.table.Append(std::move(leaf));
      return;
    }
    TreeNode& node = result_.table[record_[s]];
    node.name = "Internal";
    node.length = length;
    node.node = parent;
  }

  // Writes the records of a join of the slots (leaves first, in the order given, then the new
  // node) and gives the new node's number; magnitude is the largest of the terms of the lengths.
  std::uint16_t WriteJoin(const std::vector<std::size_t>& slots, const std::vector<Real>& lengths, Real magnitude,
                          std::string name) {
    const auto leaves = static_cast<std::size_t>(std::count_if(slots.begin(), slots.end(), [&](std::size_t s) { return record_[s] == 0; }));
    const auto joined = static_cast<std::uint16_t>(result_.table.Count() + leaves + 1);
    for (std::size_t k = 0; k < slots.size(); ++k) Attach(slots[k], lengths[k], kJoinRoundingShare * magnitude, joined);
    TreeNode node;
    node.name = std::move(name);
    node.descendants = static_cast<std::uint16_t>(slots.size());
    result_.table.Append(std::move(node));
    return joined;
  }

  void SetEntry(std::size_t a, std::size_t b, Real v) { d_.Set(TriangleIndex(a, b), v); }

  void Join(const Candidate& pair) {
    const std::size_t a = pair.row, b = pair.column, m = m_;
    const Real dab = D(a, b);
    const Real twiceScale = 2 * static_cast<Real>(m - 2);
    const Real lengthA = dab / 2 + (sums_[a] - sums_[b]) / twiceScale;
    const Real magnitude = std::max(std::fabs(dab), std::max(std::fabs(sums_[a]), std::fabs(sums_[b])) / (m - 2));
    const std::uint16_t joined = WriteJoin({a, b}, {lengthA, dab - lengthA}, magnitude, "internal");

    // The new cluster takes the lower slot of the pair; the last slot moves into the higher.
    const std::size_t low = std::min(a, b), high = std::max(a, b);
    Real sum = 0;
    for (std::size_t k = 0; k < m; ++k) {
      if (k == a || k == b) continue;
      const Real dak = D(a, k), dbk = D(b, k);
      const Real duk = (dak + dbk - dab) / 2;
      sums_[k] = sums_[k] - dak - dbk + duk;
      sum += duk;
      largest_ = std::max(largest_, std::fabs(static_cast<double>(duk)));
      SetEntry(low, k, duk);
    }
    SetEntry(low, low, 0);
    sums_[low] = sum;
    key_[low] = nextKey_++;
    record_[low] = joined;
    const std::size_t last = m - 1;
    if (high != last) {
      for (std::size_t k = 0; k < last; ++k) {
        if (k != high) SetEntry(high, k, D(last, k));
      }
      SetEntry(high, high, 0);
      key_[high] = key_[last];
      record_[high] = record_[last];
      otu_[high] = otu_[last];
      sums_[high] = sums_[last];
    }
    m_ = last;
  }

  // The last two or three clusters, in order of their keys, joined at the root.
  void JoinLast() {
    std::vector<std::size_t> slots(m_);
    for (std::size_t s = 0; s < m_; ++s) slots[s] = s;
    std::sort(slots.begin(), slots.end(), [&](std::size_t x, std::size_t y) { return key_[x] < key_[y]; });
    std::vector<Real> lengths;
    Real magnitude = 0;
    if (m_ == 2) {
      lengths = {D(slots[0], slots[1]) / 2, D(slots[0], slots[1]) / 2};
      magnitude = std::fabs(D(slots[0], slots[1]));
    } else {
      const std::size_t x = slots[0], y = slots[1], z = slots[2];
      lengths = {(D(x, y) + D(x, z) - D(y, z)) / 2, (D(x, y) + D(y, z) - D(x, z)) / 2, (D(x, z) + D(y, z) - D(x, y)) / 2};
      magnitude = std::max({std::fabs(D(x, y)), std::fabs(D(x, z)), std::fabs(D(y, z))});
    }
    WriteJoin(slots, lengths, magnitude, "last node");
  }

  SplitReals d_;  // the distances by slot, as the triangle of a DistanceMatrix
  std::size_t n_, m_;
  std::vector<std::string> names_;
  std::vector<std::uint32_t> key_;
  std::vector<std::uint16_t> record_;  // the internal node a slot holds; 0 while it holds an OTU
  std::vector<std::size_t> otu_;       // the OTU a slot holds while it holds one
  std::vector<Real> sums_;             // R by slot
  std::vector<double> fastSums_;
  std::vector<double> rowMinimum_;
  std::vector<Candidate> candidates_;  // the pairs a search takes up in 80-bit reals
  double largest_ = 0;  // the largest distance magnitude met so far
  std::uint32_t nextKey_ = 0;
  NeighborJoiningTree result_;
};

}  // namespace

std::vector<std::string> JoinNoteLines(const JoinNotes& notes, std::size_t trees) {
  const std::string in = trees > 1 ? " in " + std::to_string(trees) + " trees" : "";
  std::vector<std::string> lines;
  if (const std::size_t n = notes.tiedJoins; n > 0) {
    lines.push_back("Neighbor-Joining: " + std::to_string(n) + (n == 1 ? " join" : " joins") + " among tied pairs" + in +
                    " (the first pair in row order joined).");
  }
  if (const std::size_t n = notes.negativeLengths; n > 0) {
    lines.push_back("Neighbor-Joining: " + std::to_string(n) + (n == 1 ? " negative branch length" : " negative branch lengths") +
                    in + " kept as computed.");
  }
  return lines;
}

Result<NeighborJoiningTree> BuildNeighborJoining(DistanceMatrix distances, const LabelTable& labels) {
  if (auto refusal = TreeSizeRefusal(distances.n)) return *refusal;
  NeighborJoiner joiner(distances, [](Real d) { return d; }, labels);
  distances = DistanceMatrix();
  if (auto failure = joiner.CheckDistances()) return *failure;
  return joiner.Build();
}

Result<NeighborJoiningTree> BuildNeighborJoining(const DistanceMatrix& coefficients,
                                                 DistanceTransformation transformation, const LabelTable& labels) {
  if (auto refusal = TreeSizeRefusal(coefficients.n)) return *refusal;
  NeighborJoiner joiner(coefficients, [&](Real x) { return ApplyTransformation(x, transformation); }, labels);
  if (auto failure = joiner.CheckDistances()) return *failure;
  return joiner.Build();
}

}  // namespace vorn
