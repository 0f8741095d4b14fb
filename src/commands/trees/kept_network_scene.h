// The picture of the last NeighborNet as View > Save Network Picture and the Network tab draw it:
// its tips coloured by the groups just below AllData (as the tree pictures colour them at level
// 1), titled by the matrix it was built from.
#pragma once

#include <cstddef>

#include "core/group_lists.h"
#include "networks/neighbor_net.h"
#include "pictures/network_layout.h"

namespace vorn {

struct KeptNetwork;

NetworkScene KeptNetworkScene(const KeptNetwork& kept, const GroupList& groups);

// The side of a saved picture: 1000 pixels, more from 125 tips on, room for the labels round the circle.
double NetworkPictureSide(std::size_t individuals);

}  // namespace vorn
