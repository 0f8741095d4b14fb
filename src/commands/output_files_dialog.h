// The "Output Files" dialog of the Options menu: what a command does when a result file it
// writes exists already. Ask (the append-or-rewrite question at every write, the default),
// Always append, or Always rewrite.
#pragma once

#include <optional>

#include "commands/modal_dialog.h"
#include "core/settings.h"

namespace vorn {

class OutputFilesDialog : public ModalDialog {
 public:
  OutputFilesDialog();

  // Shows the current choice; the chosen one on OK, nothing on Cancel.
  std::optional<ExistingOutputFile> Execute(Host& host, ExistingOutputFile current);
};

// The line that reports the choice: "Existing output files: always appended".
std::string ExistingOutputFileText(ExistingOutputFile choice);

}  // namespace vorn
