// The last population structure run, kept for its bar plot: the individuals in plot order (by
// population, then by their largest cluster at the reported K), each K's mean aligned ancestry
// in that order, and the curves that chose K.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace vorn {

struct StructureBars {
  std::vector<std::string> individuals;   // in plot order
  std::vector<std::string> populations;   // the population of each, "-" for none
  std::vector<std::size_t> clusters;      // the K of each panel, ascending
  std::vector<std::vector<double>> q;     // per panel: individuals x K, in plot order
  std::vector<double> deltaK;             // per K; NaN where undefined
  std::vector<double> validationError;    // per K; empty without cross-validation
  std::size_t reported = 0;               // the K reported
};

}  // namespace vorn
