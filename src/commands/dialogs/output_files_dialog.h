// Two dialogs of the Options menu that choose how results are written. "Output Files": what a
// command does when a result file it writes exists already. Ask (the append-or-rewrite question
// at every write, the default), Always append, or Always rewrite. "Corrected p-Values": below.
#pragma once

#include <optional>

#include "commands/dialogs/modal_dialog.h"
#include "core/settings.h"

namespace vorn {

class OutputFilesDialog : public ModalDialog {
 public:
  OutputFilesDialog();

  // Shows the current choice; the chosen one on OK, nothing on Cancel.
  std::optional<ExistingOutputFile> Execute(Host& host, ExistingOutputFile current);
};

// The "Corrected p-Values" dialog of the Options menu: whether the commands whose tables of
// p-values were defined without them add the Holm and Benjamini-Hochberg columns.
class CorrectedPValuesDialog : public ModalDialog {
 public:
  CorrectedPValuesDialog();

  // Shows the current choice; the chosen one on OK, nothing on Cancel.
  std::optional<bool> Execute(Host& host, bool current);
};

// The line that reports the choice: "Existing output files: always appended".
std::string ExistingOutputFileText(ExistingOutputFile choice);

}  // namespace vorn
