// "Select Similarity Coefficient": the coefficient with the r of Nei-Li, which matrices the
// similarity commands write, the distance transformation and the similarity choice for AMOVA.
// The controls show the settings each time it opens; OK applies them and reports one line.
#pragma once

#include <string>

#include "commands/dialogs/modal_dialog.h"
#include "core/session.h"
#include "core/settings.h"

namespace vorn {

class TSelCDlg : public ModalDialog {
 public:
  TSelCDlg();

  // Shows the dialog for settings. On OK applies the controls and reports the new settings;
  // Cancel changes nothing.
  void Execute(Session& session, SimilaritySettings& settings);

 private:
  void Fill(const SimilaritySettings& settings);
  void Apply(Session& session, SimilaritySettings& settings);
};

// "Coefficient set to Jaccard (similarity). Dist Transform: d=1-s. SimOutput on. Pref: Std."
std::string CoefficientReport(const SimilaritySettings& settings);

}  // namespace vorn
