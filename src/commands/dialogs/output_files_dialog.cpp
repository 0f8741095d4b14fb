#include "commands/dialogs/output_files_dialog.h"

namespace vorn {

OutputFilesDialog::OutputFilesDialog() : ModalDialog("Output Files") {
  form.Add(RadioGroupControl("existing", "When an output file exists already...",
                             {"&Ask whether to append or rewrite", "Always a&ppend", "Always &rewrite"},
                             {"ask", "append", "rewrite"}));
}

std::optional<ExistingOutputFile> OutputFilesDialog::Execute(Host& host, ExistingOutputFile current) {
  form["existing"].selected = static_cast<int>(current);
  if (!ShowModal(host)) return std::nullopt;
  return static_cast<ExistingOutputFile>(form["existing"].selected);
}

CorrectedPValuesDialog::CorrectedPValuesDialog() : ModalDialog("Corrected p-Values") {
  form.Add(CheckBoxControl("corrected",
                           "Add p-values corrected by Holm's method and by Benjamini-Hochberg's false discovery rate "
                           "to Pairwise PhiPT and the Shannon t-tests"));
}

std::optional<bool> CorrectedPValuesDialog::Execute(Host& host, bool current) {
  form["corrected"].checked = current;
  if (!ShowModal(host)) return std::nullopt;
  return form["corrected"].checked;
}

std::string ExistingOutputFileText(ExistingOutputFile choice) {
  switch (choice) {
    case ExistingOutputFile::Append: return "Existing output files: always appended";
    case ExistingOutputFile::Rewrite: return "Existing output files: always rewritten";
    case ExistingOutputFile::Ask: break;
  }
  return "Existing output files: asked whether to append";
}

}  // namespace vorn
