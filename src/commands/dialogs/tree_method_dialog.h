// "Tree Method": UPGMA (the default) or neighbor-joining for the replicate tree analyses. The
// dialog says that R-support keeps to UPGMA. OK stores the choice and reports it; Cancel keeps it.
#pragma once

#include "commands/dialogs/modal_dialog.h"
#include "core/session.h"
#include "core/settings.h"

namespace vorn {

class TreeMethodDialog : public ModalDialog {
 public:
  TreeMethodDialog();
  // Shows the dialog for method; false for Cancel (nothing changed).
  bool Execute(Session& session, TreeMethod& method);
};

}  // namespace vorn
