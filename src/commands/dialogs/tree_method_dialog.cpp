#include "commands/dialogs/tree_method_dialog.h"

#include <string>

#include "trees/tree_method.h"

namespace vorn {

TreeMethodDialog::TreeMethodDialog() : ModalDialog("Tree Method") {
  form.Add(RadioGroupControl("method", "Trees of Bootstrap Std. Tree, Multiple Avg. Trees and Bootstrap Avg. Trees",
                             {"UPGMA", "Neighbor-Joining"}, {"upgma", "nj"}));
  form.Add(LabelControl("r_support_note", "R-support always builds UPGMA trees."));
}

bool TreeMethodDialog::Execute(Session& session, TreeMethod& method) {
  form["method"].selected = static_cast<int>(method);
  if (!ShowModal(session.host)) return false;
  method = form["method"].selected == 1 ? TreeMethod::NeighborJoining : TreeMethod::Upgma;
  session.Report(std::string("Tree method of the replicate analyses: ") + TreeMethodName(method) + ".");
  return true;
}

}  // namespace vorn
