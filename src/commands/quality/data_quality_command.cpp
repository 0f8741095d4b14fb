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
  auto file = app.BeginOutputFile(app.ws.files.analysis);
  if (!file) return;
  file->Line("Data quality summary: " + (log.source.empty() ? std::string("the data loaded") : log.source));
  file->Line();
  file->Line("What the data went through since they were loaded:");
  for (const auto& line : FilterStepTable(log).Aligned()) file->Line(line);
  file->Line();
  if (log.errorRate) {
    const LoggedErrorRate& rate = *log.errorRate;
    file->Line("Genotyping error rate (Bonin et al. 2004): " + FormatReal(rate.rate) + " (" +
               std::to_string(rate.mismatches) + " mismatches in " + std::to_string(rate.comparisons) +
               " comparisons of " + std::to_string(rate.pairs) + " replicate pairs, " +
               (rate.afterSteps == 0 ? std::string("on the data as loaded") : "after step " + std::to_string(rate.afterSteps)) +
               ")");
  } else {
    file->Line("Genotyping error rate: not computed since the data were loaded (DataMatrix > Replicate Error Rates)");
  }
  file->Line("Missing scores now: " + std::to_string(shares.counts.missing) + " of " +
             std::to_string(shares.counts.individuals * shares.counts.loci) + " (" + PercentText(shares.overall) + ")");
  file->Line("  per individual " + SpreadText(shares.individuals));
  file->Line("  per locus " + SpreadText(shares.loci));
  file->Line();
  file->Line("Methods:");
  for (const auto& sentence : MethodsSentences(log, shares)) file->Line(sentence);
  file->Line();
  if (!app.FinishOutputFile(*file)) return;
  app.Report("Writing the data quality summary to analysis output file");
}

}  // namespace

void RegisterDataQualityCommand(HandlerTable& table) { table["DataQualitySummary1Click"] = Plain(DataQualitySummary1Click); }

}  // namespace vorn
