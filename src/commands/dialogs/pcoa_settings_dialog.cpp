#include "commands/dialogs/pcoa_settings_dialog.h"

#include <array>

namespace vorn {
namespace {

// Each solver's choice in the dialog, its script value and its name while it works, in the
// order of PcoaSolver.
struct SolverNames {
  const char* choice;
  const char* key;
  const char* working;
};
constexpr std::array<SolverNames, 3> kSolverNames{{
    {"Jacobi (as specified)", "jacobi", "Jacobi"},
    {"Divide and conquer (LAPACK dsyevd, double precision)", "divide_and_conquer", "Divide and conquer"},
    {"Relatively robust representations (LAPACK dstemr, double precision)", "relatively_robust",
     "Relatively robust representations"},
}};

}  // namespace

const char* PcoaSolverName(PcoaSolver solver) { return kSolverNames[static_cast<std::size_t>(solver)].choice; }

const char* PcoaSolverWorkingName(PcoaSolver solver) { return kSolverNames[static_cast<std::size_t>(solver)].working; }

PcoaSettingsDialog::PcoaSettingsDialog() : ModalDialog("PCoA Settings") {
  std::vector<std::string> choices, keys;
  for (const SolverNames& names : kSolverNames) {
    choices.emplace_back(names.choice);
    keys.emplace_back(names.key);
  }
  form.Add(RadioGroupControl("solver", "Eigen solver", choices, keys));
  form["solver"].selected = static_cast<int>(PcoaSolver::Jacobi);
}

bool PcoaSettingsDialog::Execute(Session& session) {
  form["solver"].selected = static_cast<int>(solver_);
  if (!ShowModal(session.host)) return false;
  solver_ = static_cast<PcoaSolver>(form["solver"].selected);
  return true;
}

}  // namespace vorn
