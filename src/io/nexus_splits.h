// The NeighborNet as a Nexus file that network programs and R read: the TAXA block of the
// individuals and a SPLITS block with the circular order (CYCLE) and, per split, its number, its
// weight (shortest text that reads back as the same double), its support when computed
// (CONFIDENCES, per cent) and the individuals (from 1) of the side without the first one.
#pragma once

#include <string>

#include "core/label_table.h"
#include "core/result.h"
#include "networks/neighbor_net.h"

namespace vorn {

// Refuses, before anything is written, a network without labels for its individuals and labels
// that Nexus reads as one taxon; then writes the file anew.
Status WriteNexusSplits(const std::string& path, const LabelTable& labels, const NeighborNet& net);

}  // namespace vorn
