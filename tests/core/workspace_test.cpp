// The results kept for pictures belong to the working data they were computed from: any change of
// the cells, the counts or the labels leaves them behind; equal data keep them.
#include <gtest/gtest.h>

#include <functional>

#include "core/workspace.h"

namespace vorn {
namespace {

DataMatrix TwoByTwo() { return DataMatrix{2, 2, {1, 0, 9, 1}, LabelTable({"ab", "c"}), LabelTable({"L1", "L2"})}; }

TEST(WorkspaceTest, KeptResultsFollowTheWorkingData) {
  const struct {
    const char* change;
    std::function<void(DataMatrix&)> make;
    bool kept;
  } cases[] = {
      {"nothing", [](DataMatrix&) {}, true},
      {"the same data loaded again", [](DataMatrix& data) { data = TwoByTwo(); }, true},
      {"a replaced score", [](DataMatrix& data) { data.cells[2] = 0; }, false},
      {"an individual renamed", [](DataMatrix& data) { data.individualLabels = LabelTable({"ab", "d"}); }, false},
      {"names cut elsewhere", [](DataMatrix& data) { data.individualLabels = LabelTable({"a", "bc"}); }, false},
      {"a locus renamed", [](DataMatrix& data) { data.locusLabels = LabelTable({"L1", "L3"}); }, false},
      {"the loci as individuals", [](DataMatrix& data) { std::swap(data.individualLabels, data.locusLabels); }, false},
      {"a locus removed", [](DataMatrix& data) { data = DataMatrix{2, 1, {1, 0}, LabelTable({"ab", "c"}), LabelTable({"L1"})}; }, false},
  };
  for (const auto& c : cases) {
    Workspace ws;
    ws.InstallLoadedMatrix(TwoByTwo());
    ws.ordination = Ordination{};
    ws.ordination->dataFingerprint = Fingerprint(ws.data);
    ws.mantel = MantelPairs{};
    ws.mantel->dataFingerprint = Fingerprint(ws.data);
    c.make(ws.data);
    EXPECT_EQ(ws.CurrentOrdination() != nullptr, c.kept) << c.change;
    EXPECT_EQ(ws.CurrentMantel() != nullptr, c.kept) << c.change;
  }
}

}  // namespace
}  // namespace vorn
