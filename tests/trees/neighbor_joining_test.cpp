#include "trees/neighbor_joining.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <limits>
#include <optional>
#include <stdexcept>

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
    std::vector<std::vector<Real>> q(m, std::vector<Real>(m));
    Real best = std::numeric_limits<Real>::infinity(), largest = 0, largestSum = 0;
    for (std::size_t i = 1; i < m; ++i) {
      largestSum = std::max(largestSum, std::fabs(r[i]));
      for (std::size_t j = 0; j < i; ++j) {
        largest = std::max(largest, d[i][j]);
        q[i][j] = static_cast<Real>(m - 2) * d[i][j] - r[i] - r[j];
        if (m == 4) {  // Q(i, j) = Q(k, l) exactly: the four distances across, smallest first
          std::vector<Real> cross;
          for (std::size_t k = 0; k < 4; ++k) {
            if (k != i && k != j) cross.insert(cross.end(), {d[i][k], d[j][k]});
          }
          std::sort(cross.begin(), cross.end());
          q[i][j] = -(((cross[0] + cross[1]) + cross[2]) + cross[3]);
        }
        best = std::min(best, q[i][j]);
      }
    }
    // The first pair in row order within the rounding share of the smallest.
    const Real tolerance = kJoinRoundingShare * (m == 4 ? -best : static_cast<Real>(m - 2) * largest + 2 * largestSum);
    std::size_t a = 0, b = 0;
    for (std::size_t i = 1; i < m && a == 0; ++i) {
      for (std::size_t j = 0; j < i && a == 0; ++j) {
        if (q[i][j] <= best + tolerance) a = i, b = j;
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
  EXPECT_EQ(tree->notes.tiedJoins, 0u);
  EXPECT_EQ(tree->notes.negativeLengths, 0u);
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
  EXPECT_EQ(tree->notes.tiedJoins, 3u);
  EXPECT_EQ(TreeToNewick(tree->table, "x"), TreeToNewick(PlainNeighborJoining(d, Names(6)), "x"));
}

// Exact rationals over 128-bit integers; an overflow ends the test rather than giving a wrong value.
struct Rational {
  __int128 p = 0, q = 1;
};
void CheckNoOverflow(bool overflow) {
  if (overflow) throw std::overflow_error("rational overflow");
}
__int128 Mul(__int128 a, __int128 b) {
  __int128 r;
  CheckNoOverflow(__builtin_mul_overflow(a, b, &r));
  return r;
}
__int128 Add(__int128 a, __int128 b) {
  __int128 r;
  CheckNoOverflow(__builtin_add_overflow(a, b, &r));
  return r;
}
__int128 Gcd(__int128 a, __int128 b) {
  if (a < 0) a = -a;
  while (b != 0) a %= b, std::swap(a, b);
  return a == 0 ? 1 : a;
}
Rational Make(__int128 p, __int128 q) {
  if (q < 0) p = -p, q = -q;
  const __int128 g = Gcd(p, q);
  return {p / g, q / g};
}
Rational operator+(Rational a, Rational b) {
  const __int128 g = Gcd(a.q, b.q);
  return Make(Add(Mul(a.p, b.q / g), Mul(b.p, a.q / g)), Mul(a.q / g, b.q));
}
Rational operator-(Rational a) { return {-a.p, a.q}; }
Rational operator-(Rational a, Rational b) { return a + -b; }
Rational operator*(__int128 k, Rational a) { return Make(Mul(k, a.p), a.q); }
Rational operator/(Rational a, __int128 k) { return Make(a.p, Mul(a.q, k)); }
bool operator<(Rational a, Rational b) { return Mul(a.p, b.q) < Mul(b.p, a.q); }
bool operator==(Rational a, Rational b) { return a.p == b.p && a.q == b.q; }

// Neighbor-joining in exact arithmetic: the tips of each join in order, the joins among tied
// pairs and the negative lengths.
struct ExactJoins {
  std::vector<std::uint32_t> clusters;
  std::size_t tiedJoins = 0, negativeLengths = 0;
};
ExactJoins ExactNeighborJoining(std::vector<std::vector<Rational>> d) {
  ExactJoins joins;
  std::vector<std::uint32_t> tips;
  for (std::size_t i = 0; i < d.size(); ++i) tips.push_back(std::uint32_t{1} << i);
  const auto noteLength = [&](Rational length) { joins.negativeLengths += length < Rational{}; };
  while (d.size() > 3) {
    const std::size_t m = d.size();
    std::vector<Rational> r(m);
    for (std::size_t i = 0; i < m; ++i) {
      for (std::size_t j = 0; j < m; ++j) r[i] = r[i] + d[i][j];
    }
    std::optional<Rational> best;
    std::size_t a = 0, b = 0, tied = 0;
    for (std::size_t i = 1; i < m; ++i) {
      for (std::size_t j = 0; j < i; ++j) {
        const Rational q = static_cast<__int128>(m - 2) * d[i][j] - r[i] - r[j];
        if (best && *best == q) ++tied;
        if (!best || q < *best) best = q, a = i, b = j, tied = 1;
      }
    }
    joins.tiedJoins += tied > (m == 4 ? 2u : 1u);
    const Rational la = d[a][b] / 2 + (r[a] - r[b]) / (2 * static_cast<__int128>(m - 2));
    noteLength(la);
    noteLength(d[a][b] - la);
    std::vector<Rational> row;
    for (std::size_t k = 0; k < m; ++k) {
      if (k != a && k != b) row.push_back((d[a][k] + d[b][k] - d[a][b]) / 2);
    }
    const std::uint32_t joined = tips[a] | tips[b];
    for (auto& line : d) line.erase(line.begin() + static_cast<long>(a)), line.erase(line.begin() + static_cast<long>(b));
    d.erase(d.begin() + static_cast<long>(a)), d.erase(d.begin() + static_cast<long>(b));
    tips.erase(tips.begin() + static_cast<long>(a)), tips.erase(tips.begin() + static_cast<long>(b));
    for (std::size_t k = 0; k < row.size(); ++k) d[k].push_back(row[k]);
    row.push_back(Rational{});
    d.push_back(row);
    tips.push_back(joined);
    joins.clusters.push_back(joined);
  }
  noteLength((d[0][1] + d[0][2] - d[1][2]) / 2);
  noteLength((d[0][1] + d[1][2] - d[0][2]) / 2);
  noteLength((d[0][2] + d[1][2] - d[0][1]) / 2);
  joins.clusters.push_back(tips[0] | tips[1] | tips[2]);
  return joins;
}

// The tips below each inner node of a table, in the order the nodes were made.
std::vector<std::uint32_t> JoinedTips(const TreeNodeTable& table, const LabelTable& labels) {
  std::vector<std::uint32_t> below(table.Count() + 1, 0), clusters;
  for (std::size_t k = 1; k <= table.Count(); ++k) {
    if (table[k].IsLeaf()) below[k] = std::uint32_t{1} << labels.Find(table[k].name);
    else clusters.push_back(below[k]);
    below[table[k].node] |= below[k];
  }
  return clusters;
}

// Jaccard coefficients of scores of few loci are thirds, fifths and sevenths, which binary reals
// hold only nearly; ties between them and zero lengths must come out as exact arithmetic has them.
TEST(BuildNeighborJoining, TiesAndNegativeLengthsAreThoseOfExactArithmeticOnJaccardMatrices) {
  std::mt19937 random(11);
  const std::size_t n = 20;
  const LabelTable labels = Names(n);
  std::size_t ties = 0;
  for (int round = 0; round < 40; ++round) {
    const std::size_t loci = 4 + random() % 9;
    std::vector<std::vector<int>> scores(n, std::vector<int>(loci));
    for (auto& individual : scores) {
      do {
        for (int& score : individual) score = static_cast<int>(random() % 2);
      } while (std::count(individual.begin(), individual.end(), 1) == 0);
    }
    DistanceMatrix similarity(n);
    std::vector<std::vector<Rational>> exact(n, std::vector<Rational>(n));
    for (std::size_t i = 0; i < n; ++i) {
      similarity(i, i) = 1;
      for (std::size_t j = 0; j < i; ++j) {
        int both = 0, either = 0;
        for (std::size_t l = 0; l < loci; ++l) both += scores[i][l] & scores[j][l], either += scores[i][l] | scores[j][l];
        similarity(i, j) = static_cast<Real>(both) / either;
        exact[i][j] = exact[j][i] = Make(either - both, either);
      }
    }
    const ExactJoins expected = ExactNeighborJoining(exact);
    auto tree = BuildNeighborJoining(similarity, DistanceTransformation::OneMinusS, labels);
    ASSERT_TRUE(tree.ok()) << tree.error();
    EXPECT_EQ(JoinedTips(tree->table, labels), expected.clusters) << "round " << round;
    EXPECT_EQ(tree->notes.tiedJoins, expected.tiedJoins) << "round " << round;
    EXPECT_EQ(tree->notes.negativeLengths, expected.negativeLengths) << "round " << round;
    ties += expected.tiedJoins;
  }
  EXPECT_GT(ties, 20u);  // the data do tie
}

TEST(JoinNoteLines, CountsOfOneTreeOrMany) {
  const struct {
    JoinNotes notes;
    std::size_t trees;
    std::vector<std::string> lines;
  } cases[] = {
      {{0, 0}, 100, {}},
      {{1, 1}, 1,
       {"Neighbor-Joining: 1 join among tied pairs (the first pair in row order joined).",
        "Neighbor-Joining: 1 negative branch length kept as computed."}},
      {{31, 0}, 100, {"Neighbor-Joining: 31 joins among tied pairs in 100 trees (the first pair in row order joined)."}},
      {{0, 5}, 2, {"Neighbor-Joining: 5 negative branch lengths in 2 trees kept as computed."}},
  };
  for (const auto& c : cases) EXPECT_EQ(JoinNoteLines(c.notes, c.trees), c.lines);
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
