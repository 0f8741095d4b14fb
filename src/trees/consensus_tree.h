// TTrees: the settings of one consensus construction and the construction itself, which turns
// the clusters that qualify into one tree text, children before parents, each group labelled
// as the settings ask. The qualifying clusters must form one tree: nested or disjoint, one of
// them holding every OTU.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/result.h"
#include "trees/cluster_table.h"

namespace vorn {

// count / treeCount as a whole percentage, halves to the even neighbour: a group's label.
std::uint64_t ClusterPercentage(std::uint32_t count, std::uint32_t treeCount);

// A consensus tree's text and, in the order their groups close in it, the table positions of
// the clusters it is made of (the root's last).
struct ConsensusBuild {
  std::string text;
  std::vector<std::size_t> groups;
};

class TTrees {
 public:
  bool bracketLabels = false;  // label each group "<" + percentage + ">", the root "<TreeID~" + treeId + ">"
  bool rMode = false;          // the clusters carry r values; those up to maxR qualify
  bool showLabels = false;     // label each group with its percentage
  double threshold = 1.0;      // share of the trees a cluster must occur in; 1.0 = strict
  std::uint32_t maxR = 0;
  std::string labelPrefix = "R";
  std::string treeId;
  std::uint8_t rDigits = 0;    // decimals of log10(r) in rMode labels; 255 = no label
  // The names by which messages call the OTUs when the names of the text stand for others (the
  // R-support trees name their tips by position); empty: the names of the text.
  std::vector<std::string> shownNames;

  // The consensus text over names from the clusters counted in treeCount trees (rMode: one);
  // fails with the message to show when no cluster qualifies or the qualifying ones do not
  // form one tree.
  Result<std::string> BuildConsensusTree(const std::vector<Cluster>& clusters, const std::vector<std::string>& names,
                                         std::uint32_t treeCount) const;
  // The same with the clusters of its groups.
  Result<ConsensusBuild> BuildConsensus(const std::vector<Cluster>& clusters, const std::vector<std::string>& names,
                                        std::uint32_t treeCount) const;

  // Number of trees a cluster must occur in.
  std::uint64_t RequiredCount(std::uint32_t treeCount) const;

 private:
  // The message for two qualifying clusters that overlap unnested, naming their members.
  Failure Contradiction(const Cluster& first, const Cluster& second, const std::vector<std::string>& names) const;
  std::string MembersText(const Cluster& cluster, const std::vector<std::string>& names) const;
};

}  // namespace vorn
