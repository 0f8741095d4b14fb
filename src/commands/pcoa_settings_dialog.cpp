#include "commands/pcoa_settings_dialog.h"

namespace vorn {

const char* PcoaSolverName(PcoaSolver solver) {
  return solver == PcoaSolver::Jacobi ? "Jacobi (as specified)" : "Divide and conquer (LAPACK dsyevd, double precision)";
}

PcoaSettingsDialog::PcoaSettingsDialog() : ModalDialog("PCoA Settings") {
  form.Add(RadioGroupControl("solver", "Eigen solver",
                             {PcoaSolverName(PcoaSolver::Jacobi), PcoaSolverName(PcoaSolver::DivideAndConquer)},
                             {"jacobi", "divide_and_conquer"}));
  form["solver"].selected = static_cast<int>(PcoaSolver::Jacobi);
}

bool PcoaSettingsDialog::Execute(Session& session) {
  form["solver"].selected = static_cast<int>(solver_);
  if (!ShowModal(session.host)) return false;
  solver_ = static_cast<PcoaSolver>(form["solver"].selected);
  return true;
}

}  // namespace vorn
