// TShScaleDlg, "Shannon's index scaling preferences": the frequency basis and the logarithm base
// of Shannon's index. Whichever button closes it, the settings shown are taken over; a typed
// base A that is not a number greater than zero is refused with a message, and A keeps its value
// while the two choices stay applied.
#pragma once

#include "commands/dialogs/modal_dialog.h"
#include "core/session.h"
#include "core/settings.h"

namespace vorn {

class TShScaleDlg : public ModalDialog {
 public:
  TShScaleDlg();

  // Shows scaling and takes the dialog's values over; false when A was refused.
  bool Execute(Session& session, ShannonScaling& scaling);

 private:
  void Fill(const ShannonScaling& scaling);
};

}  // namespace vorn
