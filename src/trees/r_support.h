// R-support: how many random draws r of the Average similarity a cluster needs before it is
// stable. The consensus of the trees at r is evaluated for r from and r to, then at rounded
// geometric means of the neighbouring r values whose consensus differs, until every such
// interval spans a ratio of at most 10^(10^-digits). Each cluster keeps the smallest evaluated r
// it appeared with; the Rx-consensus is the tree of the clusters with r up to a threshold.
// Clusters here are over the individuals in data order (bit k = individual k) until the end,
// where they are put in the order the consensus at r from names them. Free of any window: the
// caller evaluates r and shows the messages.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/result.h"
#include "trees/cluster_table.h"

namespace vorn {

inline constexpr std::size_t kMaxRValues = 1000000;

struct RSupportSettings {
  std::uint8_t consensusThreshold = 100;  // percent
  std::uint32_t rFrom = 1;
  std::uint32_t rTo = 10000;
  std::uint8_t digits = 1;
  std::uint32_t rxThreshold = 10000;
};

// One evaluated r value: R, the next larger evaluated r (0 = none) and an r whose consensus
// gave nothing new (0 = none).
struct REntry {
  std::uint32_t R = 0;
  std::uint32_t Next = 0;
  std::uint32_t SameAs = 0;
};

// The r values in order of evaluation, linked in increasing order through Next. Each r is found
// through an index of its first entry, so that a search over many r values stays linear.
class RTable {
 public:
  const std::vector<REntry>& Entries() const { return entries_; }
  // Links a into the chain after the entry with the largest R below it and appends it; false
  // when the table already holds kMaxRValues entries.
  bool AddR(std::uint32_t a);
  // The first entry with R = r, or nothing.
  REntry* Find(std::uint32_t r);
  // Whether the interval from entry i to its Next may still hide a change of the consensus.
  bool IsOpen(std::size_t i) const;
  // The widest open interval (first in table order among equal widths) spanning a ratio above
  // 10^(10^-digits), as (lo, hi); nothing when none is left.
  std::optional<std::pair<std::uint32_t, std::uint32_t>> NextInterval(std::uint8_t digits) const;

 private:
  // The position of the first entry with R = r, or nothing.
  std::optional<std::size_t> FirstWith(std::uint32_t r) const;

  std::vector<REntry> entries_;
  std::map<std::uint32_t, std::size_t> first_;  // R -> position of its first entry
};

// round(sqrt(lo * hi)), exactly: the rounded geometric mean of lo and hi.
std::uint32_t RoundedGeometricMean(std::uint32_t lo, std::uint32_t hi);

// Whether hi / lo exceeds 10^(10^-digits), that is log10 hi - log10 lo > 10^-digits.
bool WiderThanPrecision(std::uint32_t lo, std::uint32_t hi, std::uint8_t digits);

// The groups of the private consensus at one r, in the order they close in its text, each with
// its percentage in count; and the individuals in the order the text names them.
struct RConsensus {
  std::vector<Cluster> groups;
  std::vector<std::size_t> textOrder;
};

// Evaluates one r; a failure carries the message to show, cancelled ends the analysis.
struct REvaluation {
  std::optional<RConsensus> consensus;
  std::string failure;
  bool cancelled = false;
};
using EvaluateR = std::function<REvaluation(std::uint32_t r)>;

struct RSupportResult {
  bool cancelled = false;
  bool completed = false;               // the search ran to its end
  std::vector<Cluster> clusters;        // the R-cluster table over the OTUs of names
  std::vector<std::size_t> otuOrder;    // the individual of each OTU, in the order of names
  std::optional<std::string> rxConsensus;  // when completed and the clusters form one tree
};

// Runs the search; every message for an error box goes to errorBox, in order. labels are the
// individuals' names, in data order.
RSupportResult EstimateRSupport(const RSupportSettings& settings, const EvaluateR& evaluate,
                                const std::vector<std::string>& labels,
                                const std::function<void(std::string_view)>& errorBox);

// The Rx-consensus of a cluster table: every cluster with r up to rxThreshold, labelled "R" +
// log10(r) with digits decimals.
Result<std::string> RxConsensus(const std::vector<Cluster>& clusters, const std::vector<std::string>& names,
                                std::uint32_t rxThreshold, std::uint8_t digits);

}  // namespace vorn
