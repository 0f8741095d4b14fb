// Bootstrap support of the splits of a NeighborNet: BS replicates of the loci drawn as the
// bootstrap Std. trees draw them (one replicate after the other from the workspace's generator,
// so a seed gives the same support on any number of cores), each replicate's Standard matrix
// turned into distances under the similarity settings and its NeighborNet built, and each split
// of the network given the per cent of the replicate networks that hold it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/workspace.h"
#include "networks/neighbor_net.h"

namespace vorn {

struct NetworkSupportSummary {
  std::int32_t delivered = 0;       // replicates counted: BS unless stopped, the last told included
  std::int32_t withoutNetwork = 0;  // of these, those with an undefined or negative distance
  std::string firstFailure;         // the first one's reason
  // The replicate networks the support counts over; 0 when it was not set.
  std::size_t networks = 0;
};

// Told after each replicate (done of BS complete); false stops the run.
using NetworkSupportProgress = std::function<bool(std::int32_t done)>;

// The sides of the splits as keys that two networks of the same individuals share exactly when
// they hold the same split: the individuals of the side without individual 0, one bit each.
std::vector<std::vector<std::uint64_t>> SplitKeys(const NeighborNet& net);

// Sets the support of every split of net once all BS replicates are done and at least one had a
// network; otherwise leaves it as it was. Checked before: CheckReplicateRun(ws, BootstrapStd).
NetworkSupportSummary AddNetworkSupport(Workspace& ws, NeighborNet& net, const NetworkSupportProgress& progress);

}  // namespace vorn
