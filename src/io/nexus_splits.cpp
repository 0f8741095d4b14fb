#include "io/nexus_splits.h"

#include <algorithm>

#include "core/number_format.h"
#include "core/text_file.h"
#include "io/nexus_export.h"

namespace vorn {

Status WriteNexusSplits(const std::string& path, const LabelTable& labels, const NeighborNet& net) {
  if (labels.Count() != net.n) return Failure{kNoNexusNames};
  if (auto checked = CheckNexusLabels(labels); !checked) return checked;
  const bool support = std::any_of(net.splits.begin(), net.splits.end(), [](const NetworkSplit& s) { return s.support >= 0; });
  return ReplaceFileWhole(path, [&](TextFileWriter& file) {
    file.Line("#NEXUS");
    file.Line();
    WriteTaxaBlock(file, labels);
    file.Line("BEGIN SPLITS;");
    file.Line("DIMENSIONS NTAX=" + std::to_string(net.n) + " NSPLITS=" + std::to_string(net.splits.size()) + ";");
    file.Line(std::string("FORMAT LABELS=LEFT WEIGHTS=YES CONFIDENCES=") + (support ? "YES" : "NO") + " INTERVALS=NO;");
    std::string cycle = "CYCLE";
    for (std::size_t i : net.order) cycle += " " + std::to_string(i + 1);
    file.Line(cycle + ";");
    file.Line("MATRIX");
    for (std::size_t k = 0; k < net.splits.size(); ++k) {
      const NetworkSplit& split = net.splits[k];
      std::vector<bool> inside(net.n, false);
      for (std::size_t i : split.side) inside[i] = true;
      const bool flip = inside[0];
      std::string side;
      for (std::size_t i = 0; i < net.n; ++i) {
        if (inside[i] != flip) side += (side.empty() ? "" : " ") + std::to_string(i + 1);
      }
      std::string line = "\t" + std::to_string(k + 1) + "\t" + FormatShortest(static_cast<double>(split.weight)) + "\t";
      if (support) line += FormatFixed(std::max(split.support, Real(0)), 1) + "\t";
      file.Line(line + side + ",");
    }
    file.Line(";");
    file.Line("END;");
    return Success();
  });
}

}  // namespace vorn
