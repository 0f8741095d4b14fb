// NeighborNet held against R's phangorn (neighborNet, read.nexus.splits): skipped with a note
// when R or phangorn is not installed.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <sstream>

#include "io/nexus_splits.h"
#include "networks/neighbor_net.h"
#include "networks/network_reference.h"

namespace vorn {
namespace {

bool PhangornAvailable() { return std::system("Rscript -e 'library(phangorn)' >/dev/null 2>&1") == 0; }

#define REQUIRE_PHANGORN() \
  if (!PhangornAvailable()) GTEST_SKIP() << "R with phangorn not installed (apt-get install r-cran-phangorn); skipped"

using SplitWeightsByside = std::map<std::string, double>;

std::string Folder() {
  const auto folder = std::filesystem::temp_directory_path() / ("vorn_phangorn_" + std::to_string(::getpid()));
  std::filesystem::create_directories(folder);
  return folder.string();
}

LabelTable Labels(std::size_t n) {
  std::vector<std::string> labels;
  for (std::size_t i = 0; i < n; ++i) labels.push_back("t" + std::to_string(i + 1));
  return LabelTable(labels);
}

void WriteCsv(const std::string& path, const DistanceMatrix& d) {
  std::ofstream out(path);
  for (std::size_t j = 0; j < d.n; ++j) out << (j ? "," : "") << "t" << j + 1;
  out << "\n";
  char number[64];
  for (std::size_t i = 0; i < d.n; ++i) {
    for (std::size_t j = 0; j < d.n; ++j) {
      std::snprintf(number, sizeof number, "%.17g", static_cast<double>(i == j ? 0 : d(i, j)));
      out << (j ? "," : "") << number;
    }
    out << "\n";
  }
}

// The peer's lines: side -> weight (the confidence is kept in the text after the weight).
std::map<std::string, std::string> RunPeer(const std::string& arguments) {
  const std::string command = "Rscript " + std::string(VORN_TEST_DATA) + "/peers/phangorn_networks.R " + arguments + " 2>&1";
  std::string output;
  FILE* pipe = popen(command.c_str(), "r");
  char buffer[4096];
  while (pipe && std::fgets(buffer, sizeof buffer, pipe)) output += buffer;
  EXPECT_EQ(pipe ? pclose(pipe) : -1, 0) << output;
  std::map<std::string, std::string> lines;
  std::istringstream in(output);
  for (std::string line; std::getline(in, line);) {
    const auto tab = line.find('\t');
    if (tab != std::string::npos) lines[line.substr(0, tab)] = line.substr(tab + 1);
  }
  return lines;
}

std::map<std::string, double> Ours(const NeighborNet& net) {
  std::map<std::string, double> splits;
  for (const NetworkSplit& split : net.splits) {
    std::vector<bool> inside(net.n, false);
    for (std::size_t i : split.side) inside[i] = true;
    std::string side;
    for (std::size_t i = 0; i < net.n; ++i)
      if (inside[i] != inside[0]) side += (side.empty() ? "" : " ") + std::to_string(i + 1);
    splits[side] = static_cast<double>(split.weight);
  }
  return splits;
}

void ExpectSameSplits(const std::map<std::string, double>& ours, const std::map<std::string, std::string>& theirs,
                      const std::string& what) {
  EXPECT_EQ(ours.size(), theirs.size()) << what;
  for (const auto& [side, weight] : ours) {
    const auto found = theirs.find(side);
    if (found == theirs.end()) {
      ADD_FAILURE() << what << ": split " << side << " (" << weight << ") not in the peer's";
      continue;
    }
    EXPECT_NEAR(weight, std::stod(found->second), 1e-8) << what << ": split " << side;
  }
}

// Distances of a random circular split system (a random order, each split of the order with
// weight in [0.02, 0.2) with chance share, the trivial ones always) plus uniform noise.
DistanceMatrix CircularMatrix(std::size_t n, double share, double noise, unsigned seed) {
  std::mt19937 generator(seed);
  std::vector<std::size_t> order(n);
  for (std::size_t i = 0; i < n; ++i) order[i] = i;
  std::shuffle(order.begin(), order.end(), generator);
  std::uniform_real_distribution<double> uniform(0, 1);
  DistanceMatrix d(n);
  for (std::size_t j = 1; j < n; ++j)
    for (std::size_t i = 0; i < j; ++i) {
      const bool trivial = j == i + 1 || (i == 0 && j == n - 1);
      if (!trivial && uniform(generator) >= share) continue;
      const double w = 0.02 + 0.18 * uniform(generator);
      for (std::size_t b = 1; b < n; ++b)
        for (std::size_t a = 0; a < b; ++a)
          if ((a > i && a <= j) != (b > i && b <= j)) d(order[a], order[b]) += w;
    }
  for (std::size_t i = 1; i < n; ++i)
    for (std::size_t j = 0; j < i; ++j) d(i, j) += noise * uniform(generator);
  return d;
}

// Jaccard distances of presence/absence profiles of individuals in three groups.
DistanceMatrix JaccardMatrix(std::size_t n, std::size_t loci, unsigned seed) {
  std::mt19937 generator(seed);
  std::uniform_real_distribution<double> uniform(0, 1);
  std::vector<std::vector<double>> frequency(3, std::vector<double>(loci));
  for (auto& group : frequency)
    for (double& f : group) f = uniform(generator);
  std::vector<std::vector<bool>> bands(n, std::vector<bool>(loci));
  for (std::size_t i = 0; i < n; ++i)
    for (std::size_t l = 0; l < loci; ++l) bands[i][l] = uniform(generator) < frequency[i % 3][l];
  DistanceMatrix d(n);
  for (std::size_t i = 1; i < n; ++i)
    for (std::size_t j = 0; j < i; ++j) {
      std::size_t both = 0, either = 0;
      for (std::size_t l = 0; l < loci; ++l) both += bands[i][l] && bands[j][l], either += bands[i][l] || bands[j][l];
      d(i, j) = 1 - static_cast<Real>(both) / static_cast<Real>(either);
    }
  return d;
}

TEST(PhangornPeer, NeighborNetHasTheSameSplitsAndWeights) {
  REQUIRE_PHANGORN();
  const std::string folder = Folder();
  struct Case {
    std::string what;
    DistanceMatrix d;
  };
  const std::vector<Case> cases = {{"circular 8", CircularMatrix(8, 0.5, 0.0, 1)},
                                   {"circular 15", CircularMatrix(15, 0.2, 0.002, 2)},
                                   {"circular 30", CircularMatrix(30, 0.1, 0.001, 3)},
                                   {"jaccard 12", JaccardMatrix(12, 200, 4)},
                                   {"noisy jaccard 40", JaccardMatrix(40, 300, 5)},
                                   {"random 10", [] {
                                      DistanceMatrix d(10);
                                      const auto pairs = testing::RandomPairs(10, 6);
                                      for (std::size_t i = 1, k = 0; i < 10; ++i)
                                        for (std::size_t j = 0; j < i; ++j) d(i, j) = pairs[k++];
                                      return d;
                                    }()}};
  for (const Case& c : cases) {
    const auto net = BuildNeighborNet(c.d, LabelTable());
    ASSERT_TRUE(net) << net.error();
    const std::string csv = folder + "/d.csv";
    WriteCsv(csv, c.d);
    // Random distances, and groups whose members differ by noise alone, leave the last joins
    // (where the pairs of four clusters tie two by two) to rounding in either program: only the
    // weights on our order are compared.
    if (c.what.rfind("random", 0) != 0 && c.what.rfind("noisy", 0) != 0) ExpectSameSplits(Ours(*net), RunPeer("net " + csv), c.what);
    std::string order;
    for (std::size_t i : net->order) order += (order.empty() ? "" : ",") + std::to_string(i + 1);
    ExpectSameSplits(Ours(*net), RunPeer("order " + csv + " " + order), c.what + " in our order");
  }
  std::filesystem::remove_all(folder);
}

TEST(PhangornPeer, ReadsTheNexusSplitsBack) {
  REQUIRE_PHANGORN();
  const std::string folder = Folder();
  auto net = BuildNeighborNet(JaccardMatrix(9, 150, 7), LabelTable());
  ASSERT_TRUE(net);
  const std::string path = folder + "/net.nex";
  ASSERT_TRUE(WriteNexusSplits(path, Labels(9), *net));
  ExpectSameSplits(Ours(*net), RunPeer("read " + path), "read back");
  for (std::size_t k = 0; k < net->splits.size(); ++k) net->splits[k].support = static_cast<Real>(10 * (k % 10));
  ASSERT_TRUE(WriteNexusSplits(path, Labels(9), *net));
  const auto back = RunPeer("read " + path);
  const auto ours = Ours(*net);
  for (std::size_t k = 0; k < net->splits.size(); ++k) {
    std::vector<bool> inside(9, false);
    for (std::size_t i : net->splits[k].side) inside[i] = true;
    std::string side;
    for (std::size_t i = 0; i < 9; ++i)
      if (inside[i] != inside[0]) side += (side.empty() ? "" : " ") + std::to_string(i + 1);
    ASSERT_TRUE(back.count(side));
    EXPECT_EQ(back.at(side).substr(back.at(side).find('\t') + 1), std::to_string(10 * (k % 10))) << side;
  }
  std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace vorn
