// The dialogs of the views of missing data: "Missing Data Map" (the group level that orders and
// colours the individuals, loci sorted by their missing share, the picture's size), "Missing
// Data Check" (the permutations, a file for the tab-separated copy) and "Comparable Loci" (the
// file the loci scored in both members of each pair are written to with every similarity
// command). Kept between uses like every settings dialog.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "commands/dialogs/modal_dialog.h"
#include "core/session.h"

namespace vorn {

struct MissingMapChoices {
  std::size_t level = 1;  // 0: individuals in data order, without groups
  bool sortLoci = false;  // loci from the least to the most missing
  std::size_t width = 1000;
  std::size_t height = 800;
};

struct MissingCheckChoices {
  std::int32_t permutations = 999;
  std::string tableFile;  // "" for no tab-separated copy
};

class MissingDataMapDialog : public ModalDialog {
 public:
  MissingDataMapDialog();
  // Nothing on Cancel, and after a box on a number out of range.
  std::optional<MissingMapChoices> Execute(Session& session);
};

class MissingDataCheckDialog : public ModalDialog {
 public:
  MissingDataCheckDialog();
  std::optional<MissingCheckChoices> Execute(Session& session);
};

class ComparableLociDialog : public ModalDialog {
 public:
  ComparableLociDialog();
  // Sets file (empty: none) on OK; false on Cancel.
  bool Execute(Session& session, std::string& file);
};

}  // namespace vorn
