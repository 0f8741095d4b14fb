// The settings of the population commands, kept between uses like every settings dialog:
// "Population Diversity" (the group level, Lynch & Milligan's absence threshold, a file for the
// tab-separated copy) and "Pairwise PhiPT" (the level, the permutations, the copy's file).
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "commands/modal_dialog.h"
#include "core/conventions.h"
#include "core/session.h"

namespace vorn {

struct DiversityChoices {
  std::size_t level = 1;
  Real absences = 3;      // a locus enters Lynch & Milligan's mean with more absences than this
  std::string tableFile;  // "" for no tab-separated copy
};

struct PairwiseChoices {
  std::size_t level = 1;
  std::int32_t permutations = 999;
  std::string tableFile;
};

class PopulationDiversityDialog : public ModalDialog {
 public:
  PopulationDiversityDialog();
  // Nothing on Cancel, and after a message on a number out of range.
  std::optional<DiversityChoices> Execute(Session& session);
};

class PairwisePhiPTDialog : public ModalDialog {
 public:
  PairwisePhiPTDialog();
  std::optional<PairwiseChoices> Execute(Session& session);
};

}  // namespace vorn
