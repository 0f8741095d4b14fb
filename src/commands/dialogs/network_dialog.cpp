#include "commands/dialogs/network_dialog.h"

#include "commands/dialogs/file_filters.h"

namespace vorn {

NeighborNetDialog::NeighborNetDialog() : ModalDialog("NeighborNet") {
  form.Add(PathFieldControl("splits_file", "Nexus file of the splits (TAXA and SPLITS blocks; empty: none)", PathKind::Save, kNexusFilter));
  form.Add(CheckBoxControl("bootstrap_support",
                           "Bootstrap support of the splits (BS replicates of the replicate analysis settings)"));
}

std::optional<NetworkChoices> NeighborNetDialog::Execute(Session& session) {
  if (!ShowModal(session.host)) return std::nullopt;
  return NetworkChoices{form["splits_file"].text, form["bootstrap_support"].checked};
}

}  // namespace vorn
