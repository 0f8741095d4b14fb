#include "network_text.h"

#include "core/number_format.h"

namespace vorn {

std::string NetworkName(const LabelTable& labels, std::size_t n, std::size_t i) {
  return labels.Count() == n ? labels[i] : "OTU" + std::to_string(i + 1);
}

namespace {

std::string Names(const std::vector<std::size_t>& individuals, const LabelTable& labels, std::size_t n) {
  std::string text;
  for (std::size_t i : individuals) {
    if (!text.empty()) text += ", ";
    text += NetworkName(labels, n, i);
  }
  return text;
}

}  // namespace

std::vector<std::string> NetworkSummaryLines(const NeighborNet& net, const LabelTable& labels,
                                             std::size_t supportNetworks) {
  std::vector<std::string> lines = {
      "Circular order: " + Names(net.order, labels, net.n),
      "Splits of positive weight: " + std::to_string(net.splits.size()) + " of " +
          std::to_string(net.n * (net.n - 1) / 2) + " circular splits",
      "Least-squares fit: " + FormatReal(net.fit) + " %",
      "Sum of squared residuals: " + FormatReal(net.residual)};
  if (supportNetworks > 0) {
    lines.push_back("Support: per cent of " + std::to_string(supportNetworks) +
                    " bootstrap replicate networks holding the split");
  }
  if (net.tiedJoins > 0) {
    lines.push_back("Ties in the agglomeration: " + std::to_string(net.tiedJoins) +
                    " (the first pair in row order taken)");
  }
  return lines;
}

std::vector<std::vector<std::string>> NetworkSplitRows(const NeighborNet& net, const LabelTable& labels) {
  std::vector<std::vector<std::string>> rows = {{"Split", "Weight", "Support", "Shorter side"}};
  for (std::size_t k = 0; k < net.splits.size(); ++k) {
    const NetworkSplit& split = net.splits[k];
    rows.push_back({std::to_string(k + 1), FormatReal(split.weight),
                    split.support < 0 ? std::string("-") : FormatFixed(split.support, 1),
                    Names(split.side, labels, net.n)});
  }
  return rows;
}

}  // namespace vorn
