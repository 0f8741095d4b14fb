#include "commands/dialogs/support_dialog.h"

#include "commands/dialogs/file_filters.h"

namespace vorn {

constexpr const char* kSupportTreeFile = "supporttree.ph";

SupportDialog::SupportDialog() : ModalDialog("Support on Tree") {
  form.Add(PathFieldControl("reference", "Reference tree file (its first tree)", PathKind::Open, kTreeOrAnyFilter));
  form.Add(PathFieldControl("replicates", "Replicate tree file", PathKind::Open, kTreeOrAnyFilter));
  form.Add(PathFieldControl("output", "Write the tree with support values to", PathKind::Save, kTreeOrAnyFilter));
  form.Add(RadioGroupControl("compare", "Compare trees by",
                             {"Splits when the reference's root has three children, clusters otherwise",
                              "Clusters (rooted trees)", "Splits (unrooted trees)"},
                             {"auto", "clusters", "splits"}));
}

std::optional<SupportChoices> SupportDialog::Execute(Session& session, const FileNames& files) {
  const auto fill = [&](const char* key, const std::string& name) {
    if (form[key].text.empty()) form[key].text = name;
  };
  fill("reference", files.tree);
  fill("replicates", files.consensusInput);
  fill("output", kSupportTreeFile);
  if (!ShowModal(session.host)) return std::nullopt;
  SupportChoices choices{form["reference"].text, form["replicates"].text, form["output"].text,
                         static_cast<SupportCompare>(form["compare"].selected)};
  if (choices.referenceFile.empty() || choices.replicateFile.empty() || choices.outputFile.empty()) {
    session.ErrorBox("Please name the reference, replicate and output tree files.");
    return std::nullopt;
  }
  return choices;
}

}  // namespace vorn
