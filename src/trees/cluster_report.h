// The cluster report of a consensus: every cluster of the table as a row of 0/1 digits under a
// column ruler (one column per OTU), with how often it was found, and the key of OTU numbers.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/result_table.h"
#include "trees/cluster_table.h"

namespace vorn {

// One line per decimal digit the largest OTU number has, highest place first; the column of
// OTU i (from 1) shows that digit of i, "0" where i has fewer digits.
std::vector<std::string> ColumnRuler(std::size_t otuCount);

// Hands line the title, an empty line, the ruler, a line per cluster ("0110 3x= 75.00 %"), an
// empty line and "...where...", one after the other: the report of n clusters of n OTUs is
// never held whole. Clusters counted as splits say so in a line after the title.
void WriteClusterReport(std::string_view title, const std::vector<Cluster>& clusters, std::size_t otuCount,
                        std::uint32_t treeCount, const std::function<void(std::string_view)>& line,
                        TreeComparison comparison = TreeComparison::Clusters);

// The same for the R-cluster table: each cluster's line ends in its percentage and r
// ("0110 100x @r= 316") rather than its count.
void WriteRClusterReport(std::string_view title, const std::vector<Cluster>& clusters, std::size_t otuCount,
                         const std::function<void(std::string_view)>& line);

// An R-cluster's cells as its line and the report's table hold them: its membership digits, its
// percentage and its r ({"0110", "100", "316"}).
std::vector<std::string> RClusterCells(const Cluster& cluster, std::size_t otuCount);

// The R-clusters as a table: "Cluster", "%", "r" and a row of RClusterCells per cluster.
ResultTable RClusterTable(const std::vector<Cluster>& clusters, std::size_t otuCount);

// The clusters of a consensus as a table: "Cluster", "Trees", "%" and per cluster its digits, the
// trees that hold it and their percentage (two decimals), as the report lines give them.
ResultTable ConsensusClusterTable(const std::vector<Cluster>& clusters, std::size_t otuCount, std::uint32_t treeCount);

// "OTU #1= name" ... and an empty line.
std::vector<std::string> OtuKeyLines(const std::vector<std::string>& names);

}  // namespace vorn
