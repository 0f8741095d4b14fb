// libFuzzer target for the [Groups] and [LocusSets] blocks of a data file. The input is the file
// after the table; the data are a small fixed matrix whose labels the blocks may or may not
// name. Whatever the input, reading must either fail with a message or give lists that keep
// their invariants, and selecting any entry must either fail with a message or give a
// sub-matrix of the data.
#include <cstdint>
#include <cstdlib>
#include <set>
#include <string>

#include "core/text_encoding.h"
#include "fuzz_file.h"
#include "groups/group_model.h"
#include "groups/selection.h"
#include "io/group_blocks.h"

namespace {

vorn::DataMatrix SmallMatrix() {
  vorn::DataMatrix data;
  data.individualCount = 4;
  data.locusCount = 3;
  data.cells = {1, 0, 9, 1, 0, 0, 1, 1, 9, 9, 0, 1};
  data.individualLabels = vorn::LabelTable({"a", "b", "Ka01", "x"});
  data.locusLabels = vorn::LabelTable({"L1", "Locus2", "L3"});
  return data;
}

void CheckList(const vorn::GroupList& list) {
  for (const auto& entry : list) {
    std::set<std::string> seen;
    for (const auto& member : entry.members) {
      if (vorn::CharacterCount(member) > vorn::kLabelLength || !vorn::IsValidUtf8(member)) std::abort();
      if (!seen.insert(member).second && &entry != &list.front()) std::abort();  // kept once
    }
  }
}

void CheckSubmatrix(const vorn::Result<vorn::DataMatrix>& sub) {
  if (!sub.ok()) {
    if (sub.error().empty()) std::abort();
    return;
  }
  if (sub->cells.size() != sub->CellCount()) std::abort();
  if (sub->individualLabels.Count() != sub->individualCount || sub->locusLabels.Count() != sub->locusCount) {
    std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (!vorn::fuzz::WriteScratch(data, size)) return 0;
  static const vorn::DataMatrix matrix = SmallMatrix();

  vorn::GroupList groups;
  vorn::GroupList locusSets;
  if (!vorn::BuildAllData(matrix, groups).ok() || !vorn::BuildAllLoci(matrix, locusSets).ok()) std::abort();
  for (auto [block, list] : {std::pair{vorn::GroupBlock::Groups, &groups}, {vorn::GroupBlock::LocusSets, &locusSets}}) {
    const vorn::Status status = vorn::ReadBlock(vorn::fuzz::ScratchFile(), block, matrix, *list);
    if (!status.ok() && status.error().empty()) std::abort();
    if (list->empty()) std::abort();
    CheckList(*list);
  }
  for (std::size_t i = 0; i < groups.size(); ++i) CheckSubmatrix(vorn::SelGrpOnly(matrix, groups, i));
  for (std::size_t i = 0; i < locusSets.size(); ++i) CheckSubmatrix(vorn::SelLocSetOnly(matrix, locusSets, i));
  return 0;
}
