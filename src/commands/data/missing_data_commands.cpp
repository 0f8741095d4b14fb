// DataMatrix > Replace Missing Data and Restore Original Matrix, and Options > Missing Data
// Replacement Settings.
#include <vector>

#include "commands/data/filter_swap.h"
#include "commands/shell/main_program.h"
#include "core/number_format.h"
#include "matrix/replace_missing.h"
#include "quality/merge_replicates.h"

namespace vorn {
namespace {

void ReplaceMissingData1Click(TMainPrg& app) {
  if (!app.RequireData()) return;
  DataMatrix replaced = app.ws.data;
  const double q = app.ws.settings.missingDataReplacement;
  ReplaceMissing(app.ws.data.cells, replaced.cells, q, app.ws.random);
  const std::string report = "Replacing missing data (?) with 0s and 1s.";
  app.Report(report);
  const std::size_t missing = CountsOf(app.ws.data).missing;
  SwapInMatrix(app, std::move(replaced), FilterStepKind::Replacement, report,
               "The " + std::to_string(missing) + " missing scores left were replaced, each by a presence with probability " +
                   FormatShortest(q) + ".");
}

// The matrix and both label tables as loaded. A selected group or locus set parks data that
// the restored matrix replaces, so both selections return to the whole data set as well, and
// merged replicates rejoin their groups.
void RestoreOriginalMatrix1Click(TMainPrg& app) {
  if (!app.RequireData()) return;
  const MatrixCounts before = CountsOf(app.ws.data);
  app.ws.data = app.ws.original;
  app.ws.groups.DropSelection();
  RestoreMergedMembers(app.ws.groups);
  const std::string report = "Original data matrix restored";
  LogStep(app, FilterStepKind::Restore, report, before, report + ".");
  app.Report(report);
}

void MissingDataReplacement1Click(TMainPrg& app) {
  double& q = app.ws.settings.missingDataReplacement;
  if (!app.dialogs.missingDataReplacement.Execute(app, q)) return;
  app.Report("Missing data replacement set to " + FormatReal(100.0L * q) + "% presences.");
}

}  // namespace

void RegisterMissingDataCommands(HandlerTable& table) {
  table["ReplaceMissingData1Click"] = Plain(ReplaceMissingData1Click);
  table["RestoreOriginalMatrix1Click"] = Plain(RestoreOriginalMatrix1Click);
  table["MissingDataReplacement1Click"] = Plain(MissingDataReplacement1Click);
}

}  // namespace vorn
