// The dialog of Trees > NeighborNet: the Nexus file the splits are written to (empty: none) and
// whether the splits get bootstrap support (off unless asked for: it changes the results).
// Kept between uses like every settings dialog.
#pragma once

#include <optional>
#include <string>

#include "commands/dialogs/modal_dialog.h"
#include "core/session.h"

namespace vorn {

struct NetworkChoices {
  std::string splitsFile;  // "" for no Nexus SPLITS file
  bool bootstrapSupport = false;
};

class NeighborNetDialog : public ModalDialog {
 public:
  NeighborNetDialog();
  // Nothing on Cancel.
  std::optional<NetworkChoices> Execute(Session& session);
};

}  // namespace vorn
