// DataMatrix > Replace Missing Data and Restore Original Matrix, and Options > Missing Data
// Replacement Settings.
#include <vector>

#include "commands/main_program.h"
#include "core/number_format.h"
#include "matrix/replace_missing.h"

namespace vorn {
namespace {

void ReplaceMissingData1Click(TMainPrg& app) {
  if (!app.RequireData()) return;
  DataMatrix& data = app.ws.data;
  std::vector<Cell> replaced(data.cells.size());
  ReplaceMissing(data.cells, replaced, app.ws.settings.missingDataReplacement, app.ws.random);
  app.Report("Replacing missing data (?) with 0s and 1s.");
  data.cells = std::move(replaced);
}

// The matrix and both label tables as loaded. A selected group or locus set parks data that
// the restored matrix replaces, so both selections return to the whole data set as well.
void RestoreOriginalMatrix1Click(TMainPrg& app) {
  if (!app.RequireData()) return;
  app.ws.data = app.ws.original;
  app.ws.groups.DropSelection();
  app.Report("Original data matrix restored");
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
