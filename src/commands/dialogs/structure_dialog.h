// "Population Structure": the range of K, the runs per K, the cross-validation folds, the
// tolerance, the band model, the K reported, the population level, the Q files and groups from
// clusters; kept between uses like every settings dialog.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "clustering/structure_runs.h"
#include "commands/dialogs/modal_dialog.h"
#include "core/session.h"

namespace vorn {

struct StructureChoices {
  StructureSettings settings;
  std::size_t reportedK = 0;  // 0: the dK choice, or the cross-validation choice where dK is undefined
  std::size_t level = 1;      // the populations named beside the individuals
  std::string qFiles;         // "" for none; else <qFiles>_K<K>.tsv
  bool frequencies = false;   // with <qFiles>_K<K>_frequencies.tsv and _best_q.tsv
  bool makeGroups = false;
  double threshold = 0.7;     // largest q that places an individual in its cluster's group
};

class StructureDialog : public ModalDialog {
 public:
  StructureDialog();
  // Nothing on Cancel, and after a message on a number out of range.
  std::optional<StructureChoices> Execute(Session& session);
};

}  // namespace vorn
