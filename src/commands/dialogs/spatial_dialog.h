// The settings of Analysis > Spatial Autocorrelation, kept between uses like every settings
// dialog: the genetic distances (the bands' squared Euclidean distances or the active matrix),
// the coordinates file, the distance classes (even widths, even pair counts or bounds given, with
// their number or their bounds), the permutations, the bootstraps and a file for the table's copy.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "commands/dialogs/modal_dialog.h"
#include "core/session.h"
#include "spatial/distance_classes.h"

namespace vorn {

enum class SpatialGenetic { Bands, ActiveMatrix };

struct SpatialChoices {
  SpatialGenetic genetic = SpatialGenetic::Bands;
  std::string coordinatesFile;  // "" for the coordinates imported with the data
  ClassChoice classes;
  std::int32_t permutations = 999;
  std::int32_t bootstraps = 999;
  std::string tableFile;  // "" for no tab-separated copy
};

class SpatialAutocorrelationDialog : public ModalDialog {
 public:
  SpatialAutocorrelationDialog();
  // Shown again after a message naming a field it refuses; nothing on Cancel.
  std::optional<SpatialChoices> Execute(Session& session);
};

}  // namespace vorn
