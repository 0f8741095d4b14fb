// The correlogram of the last spatial autocorrelation, kept for its picture: per distance class
// the mean distance of its pairs, r, the permutation null band and the bootstrap interval (each
// absent when undefined or not computed) and whether its p was significant.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vorn {

struct CorrelogramClass {
  double meanDistance = 0;
  std::optional<double> r;
  std::optional<double> nullLow, nullHigh;
  std::optional<double> bootLow, bootHigh;
  bool significant = false;  // p <= 0.05
};

struct Correlogram {
  std::vector<CorrelogramClass> classes;
  std::string title;     // "Spatial autocorrelation of 40 individuals: omega= 51.2, p= 0.001"
  std::string xCaption;  // "Euclidean distance (mean of the class)"
  std::uint64_t dataFingerprint = 0;  // of the working data the analysis was run on
};

}  // namespace vorn
