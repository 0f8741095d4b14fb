// TMDR_Dlg, "Missing Data Replacement...": the share q of missing scores that replacement turns
// into presences. All absences (q = 0), all presences (q = 1), or a whole percentage of two
// digits at most. q changes only on OK with readable input; a field that cannot be read gets
// "Invalid input. Please repeat." and the dialog again, keeping what was typed.
#pragma once

#include "commands/dialogs/modal_dialog.h"
#include "core/session.h"

namespace vorn {

class TMDR_Dlg : public ModalDialog {
 public:
  TMDR_Dlg();

  // Shows q until valid input (stored; true) or Cancel (false, q unchanged).
  bool Execute(Session& session, double& q);

 private:
  void Fill(double q);
};

}  // namespace vorn
