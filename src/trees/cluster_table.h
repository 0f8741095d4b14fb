// Clusters of OTUs counted over a list of trees. A cluster is a membership set over the OTU
// names of the first tree, one bit per OTU in their order (bits past the last OTU are zero); the
// table keeps each distinct cluster once, in the order it was first found, and finds it again
// by hashing its bits.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "trees/tree_comparison.h"

namespace vorn {

inline constexpr std::size_t kMaxClusters = 65535;

struct Cluster {
  std::vector<std::uint64_t> members;
  std::uint32_t count = 0;  // trees holding the cluster (R-support: its percentage)
  std::uint32_t r = 0;      // R-support: the r value it was found with

  bool Has(std::size_t otu) const { return (members[otu / 64] >> (otu % 64)) & 1; }
  std::size_t Size() const;
};

// The OTU names with their positions; a name given twice is found at its first position.
class OtuNames {
 public:
  explicit OtuNames(std::vector<std::string> names);
  const std::vector<std::string>& All() const { return names_; }
  std::size_t Count() const { return names_.size(); }
  std::size_t WordCount() const { return (names_.size() + 63) / 64; }
  // Position of name, or -1.
  long Find(std::string_view name) const;

 private:
  struct TextHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view text) const { return std::hash<std::string_view>()(text); }
  };
  std::vector<std::string> names_;
  std::unordered_map<std::string, std::size_t, TextHash, std::equal_to<>> positions_;
};

enum class ClusterError : std::uint8_t { None = 0, UnknownName = 1, TableFull = 255 };

// The text of the error box for an error.
std::string_view ClusterErrorMessage(ClusterError error);

// Counts each distinct cluster at most once per tree. A cluster that is new when the table is
// full is not counted; the table tells how many such were met (once per tree each).
class ClusterTable {
 public:
  const std::vector<Cluster>& Clusters() const { return clusters_; }
  // Starts the clusters of one more tree.
  void BeginTree();
  // Counts members for the current tree unless it has counted them already; TableFull when
  // they are new and the table is full.
  ClusterError Count(std::vector<std::uint64_t> members);
  std::size_t NotCounted() const { return notCounted_; }
  // Position of the cluster with these members in Clusters(), or -1.
  long Position(const std::vector<std::uint64_t>& members) const;

 private:
  // Position of members among clusters (clusters_ or refused_), or -1.
  static long Find(const std::unordered_multimap<std::uint64_t, std::size_t>& index, const std::vector<Cluster>& clusters,
                   std::uint64_t hash, const std::vector<std::uint64_t>& members);

  std::vector<Cluster> clusters_;
  std::vector<std::uint32_t> lastTree_;  // per cluster: the tree that counted it last
  std::unordered_multimap<std::uint64_t, std::size_t> byHash_;
  std::uint32_t tree_ = 0;
  // The clusters of the current tree that found the table full.
  std::vector<Cluster> refused_;
  std::unordered_multimap<std::uint64_t, std::size_t> refusedByHash_;
  std::size_t notCounted_ = 0;
};

// Counts every parenthesised group of a tree, innermost first; each group's text is what lies
// between its parentheses once the inner groups have lost theirs, and its names are the pieces
// of that text between ",". A group whose text is that of the group just inside it (redundant
// parentheses) and a group of a single name (unless the first tree has a single OTU) are no
// new clusters and are skipped. Gives the errors in order: UnknownName for a group with a name
// that is not an OTU (the group is dropped), TableFull for a cluster not counted. Compared by
// splits, each group but the one of every OTU counts as the side of its split without the first
// OTU, and trivial splits are skipped.
std::vector<ClusterError> ExtractClusters(std::string_view treeText, const OtuNames& names, ClusterTable& table,
                                          TreeComparison comparison = TreeComparison::Clusters);

// The clusters of a list of trees over the OTU names of the first; errors holds the
// UnknownName errors, the table the number of clusters it could not count.
struct ClusterCount {
  OtuNames names{{}};
  ClusterTable table;
  std::vector<ClusterError> errors;
  std::uint32_t treeCount = 0;
  TreeComparison comparison = TreeComparison::Clusters;
};
ClusterCount CountClusters(const std::vector<std::string>& trees, TreeComparison comparison = TreeComparison::Clusters);

// The error boxes of a count: one per UnknownName error, then one for a full table that says how
// many clusters were not counted.
std::vector<std::string> ClusterCountMessages(const ClusterCount& counted);

}  // namespace vorn
