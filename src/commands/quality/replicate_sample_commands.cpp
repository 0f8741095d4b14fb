// DataMatrix > Replicate Error Rates, Remove Loci > With Error Rate Above and Merge Replicates:
// the genotyping error rate from replicate samples, the loci that replicate badly, and one
// profile per sample. All three declare the replicates in their dialog and work on the working
// data; the removal and the merge swap their matrix in as every filter does.
#include <string>
#include <vector>

#include "commands/shell/data_guard.h"
#include "commands/data/filter_swap.h"
#include "commands/population/population_support.h"
#include "commands/report/report_steps.h"
#include "core/number_format.h"
#include "quality/merge_replicates.h"
#include "quality/replicate_error_rates.h"

namespace vorn {
namespace {

std::string RateText(const MismatchCount& count) {
  return count.Defined() ? FormatReal(count.Rate()) : std::string("undefined");
}

std::vector<std::string> CountCells(const MismatchCount& count) {
  return {std::to_string(count.compared), std::to_string(count.mismatches), RateText(count)};
}

ResultTable PairTable(const ErrorRates& rates, const std::vector<ReplicateSample>& samples, const LabelTable& labels) {
  ResultTable table;
  table.rows.push_back({"Sample", "Replicate", "Replicate", "Loci compared", "Mismatches", "Error rate"});
  for (const PairErrors& pair : rates.pairs) {
    std::vector<std::string> row{samples[pair.pair.sample].name, labels[pair.pair.first], labels[pair.pair.second]};
    for (auto& cell : CountCells(pair.count)) row.push_back(std::move(cell));
    table.rows.push_back(std::move(row));
  }
  return table;
}

ResultTable LocusTable(const ErrorRates& rates, const LabelTable& labels) {
  ResultTable table;
  table.rows.push_back({"Locus", "Pairs scored", "Mismatching pairs", "Error rate"});
  for (std::size_t locus = 0; locus < rates.loci.size(); ++locus) {
    std::vector<std::string> row{labels[locus]};
    for (auto& cell : CountCells(rates.loci[locus])) row.push_back(std::move(cell));
    table.rows.push_back(std::move(row));
  }
  return table;
}

ResultTable IndividualTable(const ErrorRates& rates, const std::vector<ReplicateSample>& samples,
                            const LabelTable& labels) {
  ResultTable table;
  table.rows.push_back({"Individual", "Sample", "Loci compared", "Mismatches", "Error rate"});
  for (const ReplicateSample& sample : samples) {
    for (std::uint32_t i : sample.individuals) {
      std::vector<std::string> row{labels[i], sample.name};
      for (auto& cell : CountCells(rates.individuals[i])) row.push_back(std::move(cell));
      table.rows.push_back(std::move(row));
    }
  }
  return table;
}

// "0.012345679 (12 mismatches in 972 comparisons)".
std::string OverallText(const ErrorRates& rates) {
  return RateText(rates.overall) + " (" + std::to_string(rates.overall.mismatches) + " mismatches in " +
         std::to_string(rates.overall.compared) + " comparisons)";
}

std::string PairSpreadText(const ErrorRates& rates) {
  if (rates.definedPairs == 0) return "undefined: no pair is scored at a common locus";
  return FormatReal(rates.pairMean) + ", from " + FormatReal(rates.pairLeast) + " to " +
         FormatReal(rates.pairGreatest) + " (" + Count(rates.definedPairs, "pair", "pairs") + " with a comparison)";
}

std::optional<ErrorRates> CountErrors(TMainPrg& app, const std::vector<ReplicateSample>& samples) {
  auto rates = CountReplicateErrors(app.ws.data, PairsOf(samples));
  if (!app.Check(rates)) return std::nullopt;
  return std::move(*rates);
}

void ReplicateErrorRates1Click(TMainPrg& app) {
  if (!RequireMatrix(app)) return;
  const auto choices = app.dialogs.replicateErrorRates.Execute(app);
  if (!choices) return;
  const auto rates = CountErrors(app, choices->samples);
  if (!rates) return;
  const DataMatrix& data = app.ws.data;
  if (rates->overall.Defined()) {
    app.ws.filterLog.errorRate = LoggedErrorRate{rates->pairs.size(), rates->overall.compared,
                                                 rates->overall.mismatches, rates->overall.Rate(),
                                                 app.ws.filterLog.steps.size()};
  }
  const std::string counts = Count(choices->samples.size(), "sample", "samples") + ", " +
                             Count(rates->pairs.size(), "pair", "pairs");
  app.Report("Replicate error rates: " + counts + ", error rate " + RateText(rates->overall));
  const auto answer = app.MessageQuery(counts + "\r\nError rate: " + OverallText(*rates) +
                                           "\r\nPer pair, mean: " + PairSpreadText(*rates) +
                                           "\r\n\r\nWrite results to analysis file?",
                                       "Replicate Error Rates", MessageButtons::YesNo);
  if (answer != MessageAnswer::Yes) return;
  const std::vector<std::string> heading = {
      "Replicate error rates: " + counts + ", " + Count(data.locusCount, "locus", "loci"),
      "A pair is compared at the loci scored in both replicates; a mismatch is a band present in one and absent in the "
      "other.",
      "Error rate (mismatches over comparisons of all pairs; Bonin et al. 2004): " + OverallText(*rates),
      "Per pair, mean: " + PairSpreadText(*rates)};
  const ResultTable pairs = PairTable(*rates, choices->samples, data.individualLabels);
  const ResultTable loci = LocusTable(*rates, data.locusLabels);
  const ResultTable individuals = IndividualTable(*rates, choices->samples, data.individualLabels);
  const ReportMethod method{
      "The genotyping error rate was estimated from " + Count(rates->pairs.size(), "replicate pair", "replicate pairs") +
          " of " + Count(choices->samples.size(), "sample", "samples") + " at " +
          Count(data.locusCount, "locus", "loci") +
          " as the mismatches (a band present in one replicate and absent in the other) over all comparisons at "
          "the loci scored in both replicates of a pair (Bonin et al. 2004).",
      {"bonin2004"}};
  WriteTables(app, choices->tableFile, heading,
              {TableBlock{pairs, pairs, {}}, TableBlock{loci, loci, {"A locus's error rate: its mismatching pairs over the pairs scored at it."}},
               TableBlock{individuals, individuals, {}}},
              method);
}

void WithErrorRateAbove1Click(TMainPrg& app) {
  if (!RequireMatrix(app)) return;
  const auto choices = app.dialogs.errorRateRemoval.Execute(app);
  if (!choices) return;
  const auto rates = CountErrors(app, choices->samples);
  if (!rates) return;
  auto removal = RemoveLociWithErrorRateAbove(app.ws.data, *rates, choices->threshold, choices->leastPairs);
  if (!app.Check(removal)) return;
  std::string tail = "% error rate between replicates";
  if (choices->leastPairs > 0) tail += " or scored in fewer than " + Count(choices->leastPairs, "pair", "pairs");
  ApplyRemoval(app, std::move(*removal), RemovalTexts{" loci with >", tail, " loci removed.", "Data removal..."},
               choices->threshold);
}

// The block that says what the merge made of each sample.
void WriteMergeBlock(TMainPrg& app, const MergeChoices& choices, const MergedReplicates& merged,
                     const LabelTable& labels) {
  const std::vector<std::string> heading = {
      "Merged replicates: " + Count(choices.samples.size(), "sample", "samples") + " into one profile each, " +
          Count(merged.dropped, "replicate", "replicates") + " merged into the first of their sample",
      std::string("Where the scored replicates disagree: ") +
          (choices.disagreement == Disagreement::Missing ? "missing" : "the first replicate's score"),
      "Scores where the replicates disagree: " + std::to_string(merged.disagreements) +
          "; made missing: " + std::to_string(merged.madeMissing)};
  ResultTable table;
  table.rows.push_back({"Merged individual", "Replicates"});
  for (std::size_t s = 0; s < choices.samples.size(); ++s) {
    std::string replicates;
    for (std::uint32_t i : choices.samples[s].individuals) replicates += (replicates.empty() ? "" : ", ") + labels[i];
    table.rows.push_back({merged.names[s], replicates});
  }
  auto file = app.BeginOutputFile(app.ws.files.analysis);
  if (!file) return;
  for (const auto& line : heading) file->Line(line);
  file->Line();
  for (const auto& line : table.Aligned()) file->Line(line);
  file->Line();
  if (!app.FinishOutputFile(*file)) return;
  // The merge is a step of the data: the methods say it with the report's data paragraph.
  ReportStep step;
  step.title = heading.front();
  step.lines.assign(heading.begin() + 1, heading.end());
  AddListing(step, table, {}, app.ws.files.analysis);
  app.reportRecord.Add(std::move(step));
}

// The merge's disagreements as a methods sentence ends.
std::string DisagreementText(const MergedReplicates& merged) {
  if (merged.disagreements == 0) return "they agreed at every locus scored in more than one of them.";
  return std::to_string(merged.madeMissing) + " of the " + std::to_string(merged.disagreements) +
         " scores in which they disagreed became missing.";
}

void MergeReplicates1Click(TMainPrg& app) {
  if (!RequireMatrix(app)) return;
  if (app.ws.groups.activeGroup != 0 || app.ws.groups.activeLocusSet != 0) {
    app.ErrorBox("Merge Replicates works on the whole data set: select AllData and all loci first.");
    return;
  }
  const auto choices = app.dialogs.mergeReplicates.Execute(app);
  if (!choices) return;
  auto merged = MergeReplicates(app.ws.data, choices->samples, choices->disagreement, choices->naming);
  if (!app.Check(merged)) return;
  const LabelTable labels = app.ws.data.individualLabels;
  MergeGroupMembers(app.ws.groups, labels, choices->samples, merged->names);
  const std::string report = "Merging replicates: " + Count(choices->samples.size(), "sample", "samples") + ", " +
                             Count(merged->dropped, "replicate", "replicates") + " merged, " +
                             std::to_string(merged->madeMissing) + " scores made missing";
  SwapInMatrix(app, std::move(merged->matrix), FilterStepKind::Merge, report,
               "The replicates of " + Count(choices->samples.size(), "sample", "samples") +
                   " were merged into one profile each; " + DisagreementText(*merged));
  app.Report(report);
  WriteMergeBlock(app, *choices, *merged, labels);
  app.MessageQuery(Count(merged->dropped, "replicate", "replicates") + " merged; " +
                       std::to_string(merged->madeMissing) + " scores became missing.",
                   "Merge Replicates", MessageButtons::Ok);
}

}  // namespace

void RegisterReplicateSampleCommands(HandlerTable& table) {
  table["ReplicateErrorRates1Click"] = Plain(ReplicateErrorRates1Click);
  table["WithErrorRateAbove1Click"] = Plain(WithErrorRateAbove1Click);
  table["MergeReplicates1Click"] = Plain(MergeReplicates1Click);
}

}  // namespace vorn
