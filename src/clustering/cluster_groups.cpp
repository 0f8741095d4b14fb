#include "clustering/cluster_groups.h"

#include <algorithm>

namespace vorn {

std::size_t LargestCluster(const std::vector<double>& q, std::size_t k, std::size_t i) {
  const auto row = q.begin() + static_cast<std::ptrdiff_t>(i * k);
  return static_cast<std::size_t>(std::max_element(row, row + static_cast<std::ptrdiff_t>(k)) - row);
}

std::string ClusterLevelName(std::size_t k) { return "AllData/Clusters_K" + std::to_string(k); }

GroupList ClusterGroups(const std::vector<std::string>& labels, const std::vector<double>& q, std::size_t k,
                        double threshold) {
  const std::string level = ClusterLevelName(k);
  GroupList clusters(k + 1);  // the clusters, then the admixed
  for (std::size_t c = 0; c < k; ++c) clusters[c].name = level + "/Cluster" + std::to_string(c + 1);
  clusters[k].name = level + "/Admixed";
  for (std::size_t i = 0; i < labels.size(); ++i) {
    const std::size_t largest = LargestCluster(q, k, i);
    clusters[q[i * k + largest] >= threshold ? largest : k].members.push_back(labels[i]);
  }
  GroupList made{GroupEntry{level, labels}};
  for (auto& cluster : clusters) {
    if (!cluster.members.empty()) made.push_back(std::move(cluster));
  }
  return made;
}

void ReplaceClusterGroups(GroupList& groups, std::size_t k, GroupList made) {
  const std::string level = ClusterLevelName(k);
  std::erase_if(groups, [&](const GroupEntry& entry) {
    return entry.name == level || entry.name.starts_with(level + "/");
  });
  for (auto& entry : made) groups.push_back(std::move(entry));
}

}  // namespace vorn
