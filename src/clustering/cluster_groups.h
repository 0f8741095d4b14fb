// Groups from clusters: a level of the group hierarchy made from one K's ancestry, each
// individual in the cluster of its largest q when that q reaches the threshold and among the
// admixed otherwise: "AllData/Clusters_K3" over them all, then ".../Cluster1" ..
// ".../Cluster3" and ".../Admixed", each only when it has members.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "core/group_lists.h"

namespace vorn {

// The cluster of largest q of row i of the n x k matrix q (the first on a tie).
std::size_t LargestCluster(const std::vector<double>& q, std::size_t k, std::size_t i);

// "AllData/Clusters_K" + k.
std::string ClusterLevelName(std::size_t k);

// labels[i] names row i of q.
GroupList ClusterGroups(const std::vector<std::string>& labels, const std::vector<double>& q, std::size_t k,
                        double threshold);

// groups without the entries of the level ClusterLevelName(k) and its sub-groups, then with
// made appended: a second run for the same K replaces the groups of the first.
void ReplaceClusterGroups(GroupList& groups, std::size_t k, GroupList made);

}  // namespace vorn
