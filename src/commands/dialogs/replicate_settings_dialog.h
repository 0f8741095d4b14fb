// TReplicateSettingsBox, "Replicate Analyses Settings": the replicate counts BS, TR, JC and SH
// in digit-only fields and the RMD check box (UseMDR). OK reads the fields in the order BS, TR,
// JC, SH, storing each as soon as it reads as a whole number; at the first that does not,
// "Invalid input. Please repeat." and the dialog again as the user left it. When all four read,
// UseMDR takes the check box and one line reports the settings. Cancel, at any showing, leaves
// every setting as it was before the dialog opened.
#pragma once

#include <string>

#include "commands/dialogs/modal_dialog.h"
#include "core/session.h"
#include "core/settings.h"

namespace vorn {

class TReplicateSettingsBox : public ModalDialog {
 public:
  TReplicateSettingsBox();

  // Shows settings until they read (stored, reported; true) or Cancel (false, unchanged).
  bool Execute(Session& session, ReplicateSettings& settings);

 private:
  void Fill(const ReplicateSettings& settings);
};

// "Replicate Analysis Settings: UseMDR=true. BS=1000 TR=100 JC=100 SH=10000."
std::string ReplicateSettingsReport(const ReplicateSettings& settings);

}  // namespace vorn
