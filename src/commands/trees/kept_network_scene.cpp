#include "commands/trees/kept_network_scene.h"

#include <algorithm>

#include "commands/shell/main_program.h"
#include "pictures/group_colours.h"

namespace vorn {

NetworkScene KeptNetworkScene(const KeptNetwork& kept, const GroupList& groups) {
  const GroupColouring colouring(groups, 1);
  std::vector<int> tipGroups;
  for (const std::string& label : kept.labels.All()) tipGroups.push_back(colouring.GroupOf(label));
  return MakeNetworkScene(kept.net, kept.labels, tipGroups, colouring.Names(), "NeighborNet of " + kept.matrixName);
}

double NetworkPictureSide(std::size_t individuals) { return std::max(1000.0, 8.0 * static_cast<double>(individuals)); }

}  // namespace vorn
