// What the network tests share to run an independent program on a distance matrix: the matrix
// as a comma-separated file, the program's "key<TAB>value" lines, and circular orders as the
// sets of splits they give (so that two orders are compared as circles).
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "core/distance_matrix.h"

namespace vorn::testing {

// The square matrix with the names t1 .. tn on the first line, each entry to 17 digits (the
// double it was).
inline void WriteDistanceCsv(const std::string& path, const DistanceMatrix& d) {
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

// The lines of the command's output that hold a tab, by the text before it; the command must
// end with status 0.
inline std::map<std::string, std::string> RunLines(const std::string& command) {
  std::string output;
  FILE* pipe = popen((command + " 2>&1").c_str(), "r");
  char buffer[4096];
  while (pipe && std::fgets(buffer, sizeof buffer, pipe)) output += buffer;
  EXPECT_EQ(pipe ? pclose(pipe) : -1, 0) << command << "\n" << output;
  std::map<std::string, std::string> lines;
  std::istringstream in(output);
  for (std::string line; std::getline(in, line);) {
    const auto tab = line.find('\t');
    if (tab != std::string::npos) lines[line.substr(0, tab)] = line.substr(tab + 1);
  }
  return lines;
}

// "3,1,2" (individuals from 1) as {2, 0, 1}.
inline std::vector<std::size_t> ParseOrder(const std::string& text) {
  std::vector<std::size_t> order;
  std::istringstream in(text);
  for (std::string cell; std::getline(in, cell, ',');) order.push_back(std::stoul(cell) - 1);
  return order;
}

// The splits of the circle, each as the individuals of the side without individual 0.
inline std::set<std::vector<std::size_t>> CircleSplits(const std::vector<std::size_t>& order) {
  const std::size_t n = order.size();
  std::set<std::vector<std::size_t>> splits;
  for (std::size_t first = 0; first < n; ++first) {
    for (std::size_t last = first; last + 1 < n + first && last < n; ++last) {
      std::vector<bool> inside(n, false);
      for (std::size_t k = first; k <= last; ++k) inside[order[k]] = true;
      std::vector<std::size_t> side;
      for (std::size_t i = 0; i < n; ++i)
        if (inside[i] != inside[0]) side.push_back(i);
      if (!side.empty() && side.size() < n) splits.insert(side);
    }
  }
  return splits;
}

// The random distances (RandomPairs) of the tests of 60 to 120 individuals: individuals, seed.
inline const std::vector<std::pair<std::size_t, unsigned>> kLargeOrderCases = {
    {60, 1}, {60, 2}, {60, 3}, {60, 4}, {90, 1}, {90, 2}, {120, 1}};

// The agglomeration in exact arithmetic (python3 neighbor_net_order.py MATRIX [circles]).
inline const std::string kExactOrderScript = std::string(VORN_TEST_DATA) + "/../networks/neighbor_net_order.py";

// The strict lower triangle of distances (at StrictPairIndex(i, j), i > j) as a matrix.
inline DistanceMatrix Square(std::size_t n, const std::vector<Real>& pairs) {
  DistanceMatrix d(n);
  for (std::size_t i = 1, k = 0; i < n; ++i)
    for (std::size_t j = 0; j < i; ++j) d(i, j) = pairs[k++];
  return d;
}

inline std::string OrderText(const std::vector<std::size_t>& order) {
  std::string text;
  for (std::size_t i : order) text += (text.empty() ? "" : ",") + std::to_string(i + 1);
  return text;
}

}  // namespace vorn::testing
