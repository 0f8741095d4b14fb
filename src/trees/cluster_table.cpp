#include "trees/cluster_table.h"

#include <bit>

#include "core/progress.h"
#include "trees/tree_text.h"

namespace vorn {
namespace {

std::uint64_t HashWords(const std::vector<std::uint64_t>& words) {
  std::uint64_t hash = 0x9E3779B97F4A7C15ull;
  for (std::uint64_t word : words) {
    hash ^= word + 0x9E3779B97F4A7C15ull + (hash << 6) + (hash >> 2);
    hash *= 0xBF58476D1CE4E5B9ull;
  }
  return hash ^ (hash >> 31);
}

}  // namespace

std::size_t Cluster::Size() const {
  std::size_t size = 0;
  for (std::uint64_t word : members) size += static_cast<std::size_t>(std::popcount(word));
  return size;
}

OtuNames::OtuNames(std::vector<std::string> names) : names_(std::move(names)) {
  for (std::size_t i = 0; i < names_.size(); ++i) positions_.emplace(names_[i], i);
}

long OtuNames::Find(std::string_view name) const {
  const auto found = positions_.find(name);
  return found == positions_.end() ? -1 : static_cast<long>(found->second);
}

std::string_view ClusterErrorMessage(ClusterError error) {
  switch (error) {
    case ClusterError::None: return {};
    case ClusterError::UnknownName: return "Consensus error: Inconsistent array of OTUs";
    case ClusterError::TableFull: return "Maximal number of clusters that can be evaluated has been reached.";
  }
  return {};
}

bool ClusterTable::Count(std::vector<std::uint64_t> members) {
  const std::uint64_t hash = HashWords(members);
  const auto [begin, end] = byHash_.equal_range(hash);
  for (auto entry = begin; entry != end; ++entry) {
    Cluster& cluster = clusters_[entry->second];
    if (cluster.members == members) {
      ++cluster.count;
      return true;
    }
  }
  if (clusters_.size() >= kMaxClusters) return false;
  byHash_.emplace(hash, clusters_.size());
  clusters_.push_back(Cluster{std::move(members), 1, 0});
  return true;
}

ClusterError AddCluster(std::string_view groupText, const OtuNames& names, ClusterTable& table) {
  std::vector<std::uint64_t> members(names.WordCount(), 0);
  for (std::size_t start = 0;;) {
    const std::size_t comma = std::min(groupText.find(',', start), groupText.size());
    const long otu = names.Find(groupText.substr(start, comma - start));
    if (otu < 0) return ClusterError::UnknownName;
    members[static_cast<std::size_t>(otu) / 64] |= std::uint64_t{1} << (otu % 64);
    if (comma == groupText.size()) break;
    start = comma + 1;
  }
  return table.Count(std::move(members)) ? ClusterError::None : ClusterError::TableFull;
}

std::vector<ClusterError> ExtractClusters(std::string_view treeText, const OtuNames& names, ClusterTable& table) {
  const std::string normal = NormaliseTreeText(treeText);
  std::string_view text = normal;
  if (!text.empty() && text.back() == ';') text.remove_suffix(1);
  if (!text.empty() && text.front() == ';') text.remove_prefix(1);

  // The text with the parentheses of the groups done so far removed; an open group's text is
  // the tail of it from where the group opened.
  std::string flat;
  std::vector<std::size_t> openGroups;
  std::vector<ClusterError> errors;
  for (char c : text) {
    if (c == '(') {
      openGroups.push_back(flat.size());
    } else if (c == ')') {
      if (openGroups.empty()) break;
      const std::size_t start = openGroups.back();
      openGroups.pop_back();
      const ClusterError error = AddCluster(std::string_view(flat).substr(start), names, table);
      if (error != ClusterError::None) errors.push_back(error);
    } else {
      flat += c;
    }
  }
  return errors;
}

ClusterCount CountClusters(const std::vector<std::string>& trees) {
  ClusterCount counted;
  if (trees.empty()) return counted;
  counted.names = OtuNames(ExtractOTUNames(trees.front()));
  for (const std::string& tree : trees) {
    KeepResponsive();
    const auto errors = ExtractClusters(tree, counted.names, counted.table);
    counted.errors.insert(counted.errors.end(), errors.begin(), errors.end());
  }
  counted.treeCount = static_cast<std::uint32_t>(trees.size());
  return counted;
}

}  // namespace vorn
