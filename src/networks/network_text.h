// The NeighborNet as the analysis file shows it: the circular order, the counts and the fit, and
// one row per split (its number, weight, support and shorter side).
#pragma once

#include <string>
#include <vector>

#include "core/label_table.h"
#include "networks/neighbor_net.h"

namespace vorn {

// The name of individual i: its label, or "OTU1" ... when labels does not hold one per individual.
std::string NetworkName(const LabelTable& labels, std::size_t n, std::size_t i);

// "Circular order: a1, b1, c1", "Splits of positive weight: 7 of 10 circular splits",
// "Least-squares fit: 99.123456789 %", "Sum of squared residuals: 0.000123456",
// when computed, "Support: per cent of 100 bootstrap replicate networks holding the split",
// and, when some, "Ties in the agglomeration: 2 (the first pair in row order taken)".
// supportNetworks: the replicate networks the splits' support counts over, 0 for none.
std::vector<std::string> NetworkSummaryLines(const NeighborNet& net, const LabelTable& labels,
                                             std::size_t supportNetworks = 0);

// The header "Split", "Weight", "Support", "Shorter side" and a row per split; support "-" when
// not computed.
std::vector<std::vector<std::string>> NetworkSplitRows(const NeighborNet& net, const LabelTable& labels);

}  // namespace vorn
