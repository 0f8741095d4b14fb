// The settings of the population commands, kept between uses like every settings dialog:
// "Population Diversity" (the group level, Lynch & Milligan's absence threshold, a file for the
// tab-separated copy), "Pairwise PhiPT" (the level, the permutations, the copy's file) and
// "Mantel Test" (individuals or populations, the genetic distance between populations, the
// coordinates file, ln(1 + d), the permutations, a file for the pairs) and "Assignment Test" (the
// level, the group assigned only, the simulated profiles, the copy's file).
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "commands/dialogs/modal_dialog.h"
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

enum class MantelObjects { Individuals, Populations };
enum class PopulationDistance { PhiPT, Nei };

struct MantelChoices {
  MantelObjects objects = MantelObjects::Individuals;
  std::size_t level = 1;
  PopulationDistance distance = PopulationDistance::PhiPT;
  std::string coordinatesFile;  // "" for the coordinates imported with the data
  bool logarithm = false;       // geographic distances as ln(1 + d)
  std::int32_t permutations = 999;
  std::string pairsFile;  // "" for no tab-separated copy of the pairs
};

struct AssignmentChoices {
  std::size_t level = 1;
  std::string assignedOnly;  // a group's path; "" for none
  std::int32_t simulations = 0;
  std::string tableFile;
};

class PopulationDiversityDialog : public ModalDialog {
 public:
  PopulationDiversityDialog();
  // Shown again after a message naming a field out of range; nothing on Cancel.
  std::optional<DiversityChoices> Execute(Session& session);
};

class PairwisePhiPTDialog : public ModalDialog {
 public:
  PairwisePhiPTDialog();
  std::optional<PairwiseChoices> Execute(Session& session);
};

class MantelTestDialog : public ModalDialog {
 public:
  MantelTestDialog();
  std::optional<MantelChoices> Execute(Session& session);
};

class AssignmentTestDialog : public ModalDialog {
 public:
  AssignmentTestDialog();
  std::optional<AssignmentChoices> Execute(Session& session);
};

}  // namespace vorn
