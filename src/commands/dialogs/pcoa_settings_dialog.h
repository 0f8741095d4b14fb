// "PCoA Settings" (Options > PCoA Settings...): the eigen solver of the principal coordinate
// analysis, the Jacobi rotations (the default) or one of LAPACK's solvers. The dialog keeps
// the choice for the run, like every settings dialog its state: OK takes a new choice over,
// Cancel keeps the one before.
#pragma once

#include "commands/dialogs/modal_dialog.h"
#include "core/session.h"
#include "ordination/principal_coordinates.h"

namespace vorn {

class PcoaSettingsDialog : public ModalDialog {
 public:
  PcoaSettingsDialog();

  // Shows the choice and takes it over on OK; false on Cancel.
  bool Execute(Session& session);
  PcoaSolver Solver() const { return solver_; }

 private:
  PcoaSolver solver_ = PcoaSolver::Jacobi;
};

// "Jacobi (as specified)", "Divide and conquer (LAPACK dsyevd, double precision)" or "Relatively
// robust representations (LAPACK dstemr, double precision)".
const char* PcoaSolverName(PcoaSolver solver);
// The same without the library: "Divide and conquer".
const char* PcoaSolverWorkingName(PcoaSolver solver);

}  // namespace vorn
