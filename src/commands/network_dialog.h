// The dialog of Trees > NeighborNet: the Nexus file the splits are written to (empty: none).
// Kept between uses like every settings dialog.
#pragma once

#include <optional>
#include <string>

#include "commands/modal_dialog.h"
#include "core/session.h"

namespace vorn {

struct NetworkChoices {
  std::string splitsFile;  // "" for no Nexus SPLITS file
};

class NeighborNetDialog : public ModalDialog {
 public:
  NeighborNetDialog();
  // Nothing on Cancel.
  std::optional<NetworkChoices> Execute(Session& session);
};

}  // namespace vorn
