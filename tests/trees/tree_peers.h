// Running R's ape on matrices and trees that the tree tests write: the peer is skipped with a
// note when R or ape is not installed.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "core/distance_matrix.h"
#include "core/label_table.h"

namespace vorn::testing {

inline bool ApeAvailable() { return std::system("Rscript -e 'library(ape)' >/dev/null 2>&1") == 0; }

#define REQUIRE_APE() \
  if (!::vorn::testing::ApeAvailable()) GTEST_SKIP() << "R with ape not installed (apt-get install r-cran-ape); skipped"

// The square matrix as comma-separated values with the labels on the first line, 17 digits.
inline void WriteMatrixCsv(const std::string& path, const DistanceMatrix& d, const LabelTable& labels) {
  std::ofstream out(path);
  for (std::size_t j = 0; j < d.n; ++j) out << (j ? "," : "") << labels[j];
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

// Runs ape_trees.R with the arguments; its standard output, and the exit status in status.
inline std::string RunApe(const std::string& arguments, int& status) {
  const std::string command = "Rscript " + std::string(VORN_TEST_DATA) + "/peers/ape_trees.R " + arguments + " 2>&1";
  std::string output;
  FILE* pipe = popen(command.c_str(), "r");
  char buffer[4096];
  while (pipe && std::fgets(buffer, sizeof buffer, pipe)) output += buffer;
  status = pipe ? pclose(pipe) : -1;
  return output;
}

}  // namespace vorn::testing
