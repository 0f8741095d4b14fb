#include "trees/neighbor_joining.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <limits>

#include "similarity/distance_transformation.h"
#include "support/temp_dir.h"
#include "trees/newick_writer.h"
#include "trees/random_distances.h"
#include "trees/tree_peers.h"

namespace vorn {
namespace {

using testing::DistanceKind;
using testing::RandomDistances;

// Neighbor-joining as its steps read: the clusters in a list (new ones appended last), R summed
// afresh at every join, every pair scanned in row order for the smallest Q.
TreeNodeTable PlainNeighborJoining(const DistanceMatrix& distances, const LabelTable& labels) {
  struct Cluster {
    std::size_t otu;
    std::uint16_t record;  // 0 for an OTU
  };
  std::vector<Cluster> clusters;
  std::vector<std::vector<Real>> d(distances.n, std::vector<Real>(distances.n));
  for (std::size_t i = 0; i < distances.n; ++i) {
    clusters.push_back({i, 0});
    for (std::size_t j = 0; j < distances.n; ++j) d[i][j] = i == j ? 0 : distances(i, j);
  }
  TreeNodeTable table;
  const auto join = [&](const std::vector<std::size_t>& members, const std::vector<Real>& lengths, const char* name) {
    std::size_t leaves = 0;
    for (std::size_t m : members) leaves += clusters[m].record == 0;
    const auto joined = static_cast<std::uint16_t>(table.Count() + leaves + 1);
    for (std::size_t k = 0; k < members.size(); ++k) {
      const Cluster& c = clusters[members[k]];
      if (c.record == 0) table.Append(TreeNode{0, labels[c.otu], lengths[k], joined, 0, 0});
      else table[c.record].length = lengths[k], table[c.record].node = joined, table[c.record].name = "Internal";
    }
    table.Append(TreeNode{0, name, 0, 0, static_cast<std::uint16_t>(members.size()), 0});
    return joined;
  };
  while (clusters.size() > 3) {
    const std::size_t m = clusters.size();
    std::vector<Real> r(m, 0);
    for (std::size_t i = 0; i < m; ++i) {
      for (std::size_t j = 0; j < m; ++j) r[i] += d[i][j];
    }
    std::size_t a = 1, b = 0;
    Real best = std::numeric_limits<Real>::infinity();
    for (std::size_t i = 1; i < m; ++i) {
      for (std::size_t j = 0; j < i; ++j) {
        Real q = static_cast<Real>(m - 2) * d[i][j] - r[i] - r[j];
        if (m == 4) {  // Q(i, j) = Q(k, l) exactly: the four distances across, smallest first
          std::vector<Real> cross;
          for (std::size_t k = 0; k < 4; ++k) {
            if (k != i && k != j) cross.insert(cross.end(), {d[i][k], d[j][k]});
          }
          std::sort(cross.begin(), cross.end());
          q = -(((cross[0] + cross[1]) + cross[2]) + cross[3]);
        }
        if (q < best) best = q, a = i, b = j;
      }
    }
    const Real la = d[a][b] / 2 + (r[a] - r[b]) / (2 * static_cast<Real>(m - 2));
    const std::uint16_t joined = join({a, b}, {la, d[a][b] - la}, "internal");
    std::vector<Real> row;
    for (std::size_t k = 0; k < m; ++k) {
      if (k != a && k != b) row.push_back((d[a][k] + d[b][k] - d[a][b]) / 2);
    }
    for (auto& line : d) line.erase(line.begin() + static_cast<long>(a)), line.erase(line.begin() + static_cast<long>(b));
    d.erase(d.begin() + static_cast<long>(a)), d.erase(d.begin() + static_cast<long>(b));
    clusters.erase(clusters.begin() + static_cast<long>(a)), clusters.erase(clusters.begin() + static_cast<long>(b));
    for (std::size_t k = 0; k < row.size(); ++k) d[k].push_back(row[k]);
    row.push_back(0);
    d.push_back(row);
    clusters.push_back({0, joined});
  }
  if (clusters.size() == 2) join({0, 1}, {d[0][1] / 2, d[0][1] / 2}, "last node");
  else join({0, 1, 2}, {(d[0][1] + d[0][2] - d[1][2]) / 2, (d[0][1] + d[1][2] - d[0][2]) / 2, (d[0][2] + d[1][2] - d[0][1]) / 2}, "last node");
  return table;
}

LabelTable Names(std::size_t n) {
  LabelTable labels;
  for (std::size_t i = 0; i < n; ++i) labels.Add("t" + std::to_string(i + 1));
  return labels;
}

TEST(BuildNeighborJoining, TheTextbookExample) {
  // Five OTUs a..e; the first join is (a, b) with lengths 2 and 3, the root joins three.
  DistanceMatrix d(5);
  const Real values[5][5] = {{0}, {5}, {9, 10}, {9, 10, 8}, {8, 9, 7, 3}};
  for (std::size_t i = 0; i < 5; ++i) {
    for (std::size_t j = 0; j < i; ++j) d(i, j) = values[i][j];
  }
  auto tree = BuildNeighborJoining(d, LabelTable({"a", "b", "c", "d", "e"}));
  ASSERT_TRUE(tree.ok()) << tree.error();
  EXPECT_EQ(TreeToNewick(tree->table, "NJ"),
            "(c:4.000000000, (d:2.000000000, e:1.000000000):2.000000000, (a:2.000000000, b:3.000000000):3.000000000)NJ; ");
  // With four clusters left Q(d, e) = Q(c, u) always; (e, d) comes first in row order.
  EXPECT_EQ(tree->tiedJoins, 0u);
  EXPECT_EQ(tree->negativeLengths, 0u);
  EXPECT_EQ(tree->table[tree->table.Count()].descendants, 3);
}

TEST(BuildNeighborJoining, EqualsThePlainJoinsOnRandomAndTiedDistances) {
  std::mt19937 random(2024);
  for (const std::size_t n : {2, 3, 4, 5, 9, 40, 150}) {
    for (const DistanceKind kind : {DistanceKind::Continuous, DistanceKind::FewLevels}) {
      const DistanceMatrix d = RandomDistances(n, kind, random);
      auto tree = BuildNeighborJoining(d, Names(n));
      ASSERT_TRUE(tree.ok()) << tree.error();
      EXPECT_EQ(TreeToNewick(tree->table, "x"), TreeToNewick(PlainNeighborJoining(d, Names(n)), "x"))
          << "n " << n << " kind " << static_cast<int>(kind);
      // Transformed while read, the 80-bit square roots as the transformed copy holds them.
      const auto rooted = BuildNeighborJoining(d, DistanceTransformation::SqrtD, Names(n));
      EXPECT_EQ(TreeToNewick(rooted->table, "x"),
                TreeToNewick(PlainNeighborJoining(TransformMatrix(d, DistanceTransformation::SqrtD), Names(n)), "x"));
    }
  }
}

TEST(BuildNeighborJoining, CountsJoinsAmongTiedPairs) {
  // Six OTUs all at one distance: every pair ties at each join with six, five and four left.
  DistanceMatrix d(6);
  for (std::size_t i = 1; i < 6; ++i) {
    for (std::size_t j = 0; j < i; ++j) d(i, j) = 0.5L;
  }
  auto tree = BuildNeighborJoining(d, Names(6));
  ASSERT_TRUE(tree.ok());
  EXPECT_EQ(tree->tiedJoins, 3u);
  EXPECT_EQ(TreeToNewick(tree->table, "x"), TreeToNewick(PlainNeighborJoining(d, Names(6)), "x"));
}

TEST(BuildNeighborJoining, RefusesUndefinedDistancesNamingThePair) {
  DistanceMatrix d(3);
  d(1, 0) = 0.2L, d(2, 0) = -1, d(2, 1) = 0.3L;
  EXPECT_EQ(BuildNeighborJoining(d, LabelTable({"a", "b", "c"})).error(),
            "The distance between a and c is undefined; no Neighbor-Joining tree was built.");
  d(2, 0) = std::numeric_limits<Real>::quiet_NaN();
  EXPECT_FALSE(BuildNeighborJoining(d, LabelTable({"a", "b", "c"})).ok());
  EXPECT_FALSE(BuildNeighborJoining(DistanceMatrix(1), LabelTable()).ok());
}

// The tree's text with 15 decimals, for the comparison with the peer.
std::string PreciseNewick(const TreeNodeTable& table, std::size_t record) {
  std::string text;
  char length[64];
  for (std::size_t child = table.Count(); child >= 1; --child) {
    if (table[child].node != record) continue;
    text += text.empty() ? "(" : ",";
    text += table[child].IsLeaf() ? table[child].name : PreciseNewick(table, child);
    std::snprintf(length, sizeof length, ":%.15Lf", table[child].length);
    text += length;
  }
  return text + ")";
}

TEST(BuildNeighborJoining, EqualsApeOnTieFreeMatrices) {
  REQUIRE_APE();
  std::mt19937 random(7);
  testing::TempDir dir;
  for (const std::size_t n : {5, 30, 120}) {
    const DistanceMatrix d = RandomDistances(n, DistanceKind::Continuous, random);
    // The peer reads 17 digits, which are the doubles of these entries.
    DistanceMatrix rounded = d;
    for (Real& v : rounded.entries) v = static_cast<double>(v);
    auto tree = BuildNeighborJoining(rounded, Names(n));
    ASSERT_TRUE(tree.ok());
    testing::WriteMatrixCsv(dir.File("d.csv"), rounded, Names(n));
    std::ofstream(dir.File("nj.tre")) << PreciseNewick(tree->table, tree->table.Count()) << ";\n";
    int status = 0;
    const std::string output = testing::RunApe("nj " + dir.File("d.csv") + " " + dir.File("nj.tre"), status);
    EXPECT_EQ(status, 0) << "n " << n << ": " << output;
  }
}

}  // namespace
}  // namespace vorn
