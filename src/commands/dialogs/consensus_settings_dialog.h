// TConsRDlg, "Consensus & R-support Options": the majority-rule threshold of the consensus
// commands and the settings of R-support (its consensus threshold, the range of r, the precision
// in digits and the Rx threshold), plus three settings that are stored but neither shown nor
// used. OK reads each field on its own: a field that is no whole number, or lies outside what
// the analyses can use, is told and keeps its old value, and the others are taken; then one
// line reports the settings. Cancel keeps everything.
#pragma once

#include <string>

#include "commands/dialogs/modal_dialog.h"
#include "core/session.h"
#include "core/settings.h"

namespace vorn {

inline constexpr const char* kInvalidConsensusInput = "Invalid input. Please repeat!";

class TConsRDlg : public ModalDialog {
 public:
  TConsRDlg();

  // Shows the dialog for settings; false for Cancel (nothing changed).
  bool Execute(Session& session, ConsensusSettings& settings);

 private:
  void Fill(const ConsensusSettings& settings);
};

// "MR-Thresh=70%. R: MR-Thresh=100%. Rx-Thresh= 10000. r: 1-10000. Precision 1 digits."
std::string ConsensusSettingsReport(const ConsensusSettings& settings);

}  // namespace vorn
