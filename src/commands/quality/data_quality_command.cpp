// DataMatrix > Data Quality Summary: the filter log since the last load or import, with the
// last replicate error rate and the spread of the missing scores now, and the sentences a
// methods section needs, in one block of the analysis file.
#include <string>
#include <vector>

#include "commands/shell/data_guard.h"
#include "commands/shell/main_program.h"
#include "core/number_format.h"
#include "quality/quality_summary.h"

namespace vorn {
namespace {

std::string SpreadText(const ShareSpread& spread) {
  return "from " + PercentText(spread.least) + " to " + PercentText(spread.greatest) + " (median " +
         PercentText(spread.median) + ")";
}

void DataQualitySummary1Click(TMainPrg& app) {
  if (!RequireMatrix(app)) return;
  const FilterLog& log = app.ws.filterLog;
  const MissingShares shares = MissingSharesOf(app.ws.data);
  const std::string title =
      "Data quality summary: " + (log.source.empty() ? std::string("the data loaded") : log.source);
  const ResultTable steps = FilterStepTable(log);
  std::vector<std::string> facts;
  if (log.errorRate) {
    const LoggedErrorRate& rate = *log.errorRate;
    facts.push_back("Genotyping error rate (Bonin et al. 2004): " + FormatReal(rate.rate) + " (" +
                    std::to_string(rate.mismatches) + " mismatches in " + std::to_string(rate.comparisons) +
                    " comparisons of " + std::to_string(rate.pairs) + " replicate pairs, " +
                    (rate.afterSteps == 0 ? std::string("on the data as loaded")
                                          : "after step " + std::to_string(rate.afterSteps)) +
                    ")");
  } else {
    facts.push_back("Genotyping error rate: not computed since the data were loaded (DataMatrix > Replicate Error Rates)");
  }
  facts.push_back("Missing scores now: " + std::to_string(shares.counts.missing) + " of " +
                  std::to_string(shares.counts.individuals * shares.counts.loci) + " (" + PercentText(shares.overall) +
                  ")");
  facts.push_back("  per individual " + SpreadText(shares.individuals));
  facts.push_back("  per locus " + SpreadText(shares.loci));
  auto file = app.BeginOutputFile(app.ws.files.analysis);
  if (!file) return;
  file->Line(title);
  file->Line();
  file->Line("What the data went through since they were loaded:");
  for (const auto& line : steps.Aligned()) file->Line(line);
  file->Line();
  for (const auto& line : facts) file->Line(line);
  file->Line();
  file->Line("Methods:");
  for (const auto& sentence : MethodsSentences(log, shares)) file->Line(sentence);
  file->Line();
  if (!app.FinishOutputFile(*file)) return;
  // The methods sentences are those of the report's own data paragraph, which says them once.
  ReportStep step;
  step.title = title;
  step.lines = facts;
  if (log.errorRate) step.references = {"bonin2004"};
  step.tables.push_back(ReportTable{steps, {"What the data went through since they were loaded."}});
  app.reportRecord.Add(std::move(step));
  app.Report("Writing the data quality summary to analysis output file");
}

}  // namespace

void RegisterDataQualityCommand(HandlerTable& table) { table["DataQualitySummary1Click"] = Plain(DataQualitySummary1Click); }

}  // namespace vorn
