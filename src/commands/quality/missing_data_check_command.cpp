// Analysis > Missing Data Check: whether the latest principal coordinates and the active
// distances follow the individuals' shares of missing scores. Each correlation that is
// significant gets a status line saying so; the block in the analysis file holds every test, and
// its tab-separated copy each individual's missing share beside its coordinates.
#include <algorithm>
#include <string>
#include <vector>

#include "commands/similarity/active_distances.h"
#include "commands/shell/data_guard.h"
#include "commands/shell/kept_result_text.h"
#include "commands/shell/main_program.h"
#include "commands/population/population_support.h"
#include "core/command_progress.h"
#include "core/number_format.h"
#include "missingness/missingness_check.h"
#include "similarity/coefficient_names.h"

namespace vorn {
namespace {

std::string PText(Real p, std::int32_t permutations) { return permutations == 0 ? std::string("-") : FormatReal(p); }

std::string Significance(Real p, std::int32_t permutations) {
  if (permutations == 0) return "-";
  return FollowsMissingData(p, permutations) ? "yes" : "no";
}

ResultTable TestTable(const MissingnessCheck& check, const Ordination& ordination) {
  ResultTable table;
  table.rows.push_back({"Missing share against", "Statistic", "Value", "p", "Significant"});
  for (std::size_t k = 0; k < check.axes.size(); ++k) {
    table.rows.push_back({"Axis " + std::to_string(k + 1) + " (" + FormatFixed(ordination.percentages[k], 2) + " %)",
                          "Spearman's rho", FormatReal(check.axes[k].rho), PText(check.axes[k].p, check.permutations),
                          Significance(check.axes[k].p, check.permutations)});
  }
  table.rows.push_back({"Distances", "Mantel r", FormatReal(check.distances.r),
                        PText(check.distances.p, check.permutations),
                        Significance(check.distances.p, check.permutations)});
  return table;
}

ResultTable IndividualTable(const MissingnessCheck& check, const Ordination& ordination, const LabelTable& labels) {
  ResultTable table;
  std::vector<std::string> header = {"Individual", "Missing share"};
  for (std::size_t k = 0; k < check.axes.size(); ++k) header.push_back("Axis " + std::to_string(k + 1));
  table.rows.push_back(std::move(header));
  for (std::size_t i = 0; i < check.shares.size(); ++i) {
    std::vector<std::string> row = {labels[i], FormatReal(check.shares[i])};
    for (std::size_t k = 0; k < check.axes.size(); ++k) row.push_back(FormatReal(ordination.Coordinate(i, k)));
    table.rows.push_back(std::move(row));
  }
  return table;
}

// The verdicts, the significant ones first; all of them when none is.
std::vector<std::string> Verdicts(const MissingnessCheck& check, bool significantOnly) {
  std::vector<std::string> verdicts;
  for (std::size_t k = 0; k < check.axes.size(); ++k) {
    if (!significantOnly || FollowsMissingData(check.axes[k].p, check.permutations)) {
      verdicts.push_back(AxisVerdict(k + 1, check.axes[k], check.permutations));
    }
  }
  if (!significantOnly || FollowsMissingData(check.distances.p, check.permutations)) {
    verdicts.push_back(DistanceVerdict(check.distances));
  }
  return verdicts;
}

void MissingDataCheck1Click(TMainPrg& app) {
  if (!RequireMatrix(app)) return;
  Workspace& ws = app.ws;
  const Ordination* ordination = ws.CurrentOrdination();
  if (!ordination) return app.ErrorBox(NoOrdinationText(ws));
  const auto distances = ActiveDistancePairs(app, "the distances cannot be compared with the missing data");
  if (!distances) return;
  const auto choices = app.dialogs.missingDataCheck.Execute(app);
  if (!choices) return;
  const std::size_t n = ws.data.individualCount;
  app.Report("Missing Data Check: " + std::to_string(n) + " individuals with " +
             std::to_string(choices->permutations) + " permutations");

  CommandProgress progress(app.host, "Missing Data Check", "Permutation",
                           static_cast<std::size_t>(choices->permutations));
  const auto check = CheckMissingness(IndividualMissingShares(ws.data), *ordination, *distances,
                                      choices->permutations, ws.random,
                                      [&](std::size_t done) { return progress.Advance(done); });
  if (!check && progress.Cancelled()) {
    app.Report("Cancelled: nothing was written.");
    return;
  }
  if (!app.Check(check)) return;
  const std::vector<std::string> significant = Verdicts(*check, true);
  for (const auto& verdict : significant) app.Report(verdict);
  if (significant.empty()) {
    app.Report(check->permutations == 0
                   ? std::string("Missing Data Check: without permutations no correlation is tested.")
                   : "Missing Data Check: neither the first " + Count(check->axes.size(), "axis", "axes") +
                         " nor the distances follow missing data (p > " + FormatFixed(kMissingnessLevel, 2) + ").");
  }

  const Real fewest = *std::min_element(check->shares.begin(), check->shares.end());
  const Real most = *std::max_element(check->shares.begin(), check->shares.end());
  const std::vector<std::string> heading = {
      "Missing data check: " + std::to_string(n) + " individuals, " + Count(ws.data.locusCount, "locus", "loci") + ", " +
          Count(static_cast<std::size_t>(check->permutations), "permutation", "permutations"),
      "Principal coordinates of " + ordination->matrixName + "; distances: " + ws.results.activeName + ", " +
          TransformationName(ws.settings.similarity.transformation) + ".",
      "Missing share per individual from " + FormatReal(fewest) + " to " + FormatReal(most) + "."};
  std::vector<std::string> notes;
  for (const auto& verdict : Verdicts(*check, false)) notes.push_back(verdict);
  notes.push_back("rho: Spearman's rank correlation of the missing share with the coordinate, p two-sided;");
  notes.push_back("r: Mantel's r of the distances with |difference of missing shares|, p one-sided; p = (permuted");
  notes.push_back("statistic at least as extreme, + 1) / (permutations + 1). Significant: p <= " +
                  FormatFixed(kMissingnessLevel, 2) + ".");
  const ResultTable tests = TestTable(*check, *ordination);
  const ResultTable individuals = IndividualTable(*check, *ordination, ws.data.individualLabels);
  WriteTables(app, choices->tableFile, [&](TextFileWriter& file) {
    for (const auto& line : tests.TabSeparated()) file.Line(line);
    file.Line();
    for (const auto& line : individuals.TabSeparated()) file.Line(line);
  }, heading, {TableBlock{tests, {}, notes}},
              ReportMethod{
                  "Whether the first " + Count(check->axes.size(), "principal coordinate", "principal coordinates") +
                      " of " + ordination->matrixName + " and the distances (" + ws.results.activeName + ", " +
                      TransformationName(ws.settings.similarity.transformation) +
                      ") follow the individuals' shares of missing scores was tested by Spearman's rank correlation "
                      "(Spearman 1904) and a Mantel test (Mantel 1967)" +
                      (check->permutations > 0
                           ? " with " + std::to_string(check->permutations) + " permutations, at p <= " +
                                 FormatFixed(kMissingnessLevel, 2)
                           : std::string(" without permutations")) +
                      ".",
                  {"spearman1904", "mantel1967"}});
}

}  // namespace

void RegisterMissingDataCheckCommand(HandlerTable& table) {
  table["MissingDataCheck1Click"] = Plain(MissingDataCheck1Click);
}

}  // namespace vorn
