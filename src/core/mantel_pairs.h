// The pairs of the last Mantel test, kept for its scatter plot: each pair's geographic distance
// (x) and genetic distance (y), the axis captions and the least-squares line of y on x.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vorn {

struct MantelPairs {
  std::vector<double> geographic;  // one per pair, in the order of the pairs
  std::vector<double> genetic;
  std::string xCaption;  // "Great-circle distance (km)"
  std::string yCaption;  // "Genetic distance: StdJaccard, 1-S"
  std::string title;     // "Mantel test: r= 0.412, p= 0.001 (999 permutations)"
  double slope = 0;      // genetic = intercept + slope * geographic
  double intercept = 0;
  std::uint64_t dataFingerprint = 0;  // of the working data the test was run on
};

}  // namespace vorn
