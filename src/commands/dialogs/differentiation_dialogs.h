// The settings of the differentiation commands, kept between uses like every settings dialog:
// "F_ST from Band Frequencies" (the level, the null-allele estimator, its prior, F_IS, Lynch &
// Milligan's absence threshold, the permutations, the copy's file) and "Band Rarity and
// Richness" (the level, the rarefaction replicates, the copy's file).
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "commands/dialogs/modal_dialog.h"
#include "core/session.h"
#include "differentiation/null_allele.h"

namespace vorn {

struct BandFstChoices {
  std::size_t level = 1;
  NullAlleleSettings estimator;
  std::int32_t permutations = 999;
  std::string tableFile;
};

class BandFstDialog : public ModalDialog {
 public:
  BandFstDialog();
  // Shown again after a message naming a field out of range or a combination it refuses.
  std::optional<BandFstChoices> Execute(Session& session);
};

struct BandRarityChoices {
  std::size_t level = 1;
  std::int32_t replicates = 0;  // rarefied DW by subsampling; 0 for none
  std::string tableFile;
};

class BandRarityDialog : public ModalDialog {
 public:
  BandRarityDialog();
  std::optional<BandRarityChoices> Execute(Session& session);
};

}  // namespace vorn
