// The splits graph of a NeighborNet laid out by the equal-angle algorithm for circular splits
// (Dress & Huson 2004, IEEE/ACM TCBB 1: 109-115), drawn as its outline: the individual at place k
// of the circular order gets the angle 2 pi k / n, a split cutting places a .. b gets the
// direction of the mean angle pi (a + b) / n, and an individual sits at the sum of weight times
// direction of the splits whose cut side holds it (place 0 at the origin). Walking round the
// circle from one individual to the next leaves the splits that end there and enters those that
// begin at the next, each a step of its weight along its direction, taken in the order of the
// steps' angles; so every split appears as two parallel edges of its weight's length (a split
// of one individual as its pendant edge).
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "core/label_table.h"
#include "networks/neighbor_net.h"

namespace vorn {

struct NetworkPoint {
  double x = 0, y = 0;
};

struct NetworkScene {
  std::string title;
  std::vector<NetworkPoint> outline;  // closed: the last point is the first
  std::vector<std::size_t> edgeSplit;  // per outline edge k (outline[k] to outline[k + 1]), its split
  std::vector<std::size_t> tipPoint;   // per individual, its outline point
  std::vector<double> tipAngle;        // per individual, the angle of its place (radians)
  std::vector<std::string> labels;     // per individual
  std::vector<int> groups;             // per individual, its group (-1: none)
  std::vector<std::string> groupNames;
  std::vector<double> support;         // per split, per cent; -1: not computed or a pendant edge
  double supportThreshold = 50;        // support shown from this per cent on
  double largestWeight = 0;
  int highlightedTip = -1;             // the individual found by name, ringed; -1: none
};

// groups: per individual its group index into groupNames, or empty for none.
NetworkScene MakeNetworkScene(const NeighborNet& net, const LabelTable& labels, std::vector<int> groups,
                              std::vector<std::string> groupNames, std::string title);

}  // namespace vorn
