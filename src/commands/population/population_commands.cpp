// Analysis > Population Diversity and Analysis > Pairwise PhiPT: the statistics that compare the
// populations of one level of the group hierarchy. Both run on the whole data set (the active
// group is selected again afterwards) with the working loci, show a summary and on Yes append
// their tables to the analysis file, with a tab-separated copy in the file the dialog names.
#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "amova/amova.h"
#include "amova/pairwise_phipt.h"
#include "commands/population/corrected_p_columns.h"
#include "commands/population/population_support.h"
#include "commands/data/whole_data_set.h"
#include "core/command_progress.h"
#include "core/number_format.h"
#include "diversity/population_diversity.h"
#include "groups/group_model.h"
#include "report/methods_text.h"
#include "similarity/coefficient_names.h"

namespace vorn {
namespace {

// ---- Population Diversity ----

std::string MeanText(const MeanWithError& value) {
  return ValueText(value.mean) + " +/- " + ValueText(value.standardError);
}

// The notes naming why values of the rows are undefined ("AllData/A: Hj and SE(Hj) undefined: no
// locus has more than 3 band absences."). Hj goes over the loci with enough absences; the other
// means and the shares of polymorphic loci over the loci scored in the population.
std::vector<std::string> UndefinedValueNotes(const std::vector<DiversityRow>& rows, Real absences) {
  std::vector<std::string> notes;
  for (const auto& row : rows) {
    const auto oneLocus = [&](const MeanWithError& value, const std::string& name) {
      if (value.loci == 1) notes.push_back(row.name + ": SE(" + name + ") undefined: a standard error needs two loci.");
    };
    if (row.he.loci == 0) {
      notes.push_back(row.name + ": %P, %P(0.95), He, uHe and their SE undefined: no locus is scored.");
    }
    oneLocus(row.he, "He");
    oneLocus(row.uhe, "uHe");
    if (row.lynchMilligan.loci == 0) {
      notes.push_back(row.name + ": Hj and SE(Hj) undefined: no locus has more than " +
                      FormatShortest(double(absences)) + " band absences.");
    }
    oneLocus(row.lynchMilligan, "Hj");
  }
  return notes;
}

ResultTable DiversityTable(const std::vector<DiversityRow>& rows) {
  ResultTable table;
  table.rows.push_back({"Population", "N", "Bands", "Bands>=5%", "Private", "LComm<=25%", "LComm<=50%", "%P",
                        "%P(0.95)", "He", "SE(He)", "uHe", "SE(uHe)", "Hj", "SE(Hj)", "Hj loci", "Hj left out",
                        "Unscored loci"});
  for (const auto& row : rows) {
    const auto shared = [&](std::size_t SharedBands::*count) {
      return row.shared ? std::to_string((*row.shared).*count) : std::string("-");
    };
    table.rows.push_back({row.name, std::to_string(row.individuals), std::to_string(row.bands),
                          std::to_string(row.commonBands), shared(&SharedBands::privateBands),
                          shared(&SharedBands::locallyCommon25), shared(&SharedBands::locallyCommon50),
                          ValueText(row.polymorphic), ValueText(row.polymorphic5), ValueText(row.he.mean),
                          ValueText(row.he.standardError), ValueText(row.uhe.mean), ValueText(row.uhe.standardError),
                          ValueText(row.lynchMilligan.mean), ValueText(row.lynchMilligan.standardError),
                          std::to_string(row.lynchMilligan.loci), std::to_string(row.lynchMilliganLeftOut),
                          std::to_string(row.lociWithoutScores)});
  }
  return table;
}

void PopulationDiversity1Click(TMainPrg& app) {
  const PopulationRun run(app, app.dialogs.populationDiversity, 1);
  if (!run.Ready()) return;
  const auto& choices = run.Chosen();
  const std::vector<PopulationMembers>& populations = run.Members();
  Workspace& ws = app.ws;
  app.Report("Population Diversity: " + Count(populations.size(), "population", "populations") + " at level " +
             std::to_string(choices.level));
  const auto rows = PopulationDiversity(ws.data, populations, std::string(kAllData), choices.absences);

  std::string summary = Count(populations.size(), "population", "populations") + ", " +
                        Count(ws.data.locusCount, "locus", "loci") + "\r\n\r\n";
  for (const auto& row : rows) summary += row.name + ": uHe= " + MeanText(row.uhe) + "\r\n";
  const auto answer = app.MessageQuery(summary + "\r\nWrite results to analysis file?", "Population Diversity",
                                       MessageButtons::YesNo);
  if (answer != MessageAnswer::Yes) return;
  const std::vector<std::string> heading = {
      "Population diversity: " + Count(populations.size(), "population", "populations") + " of level " +
          std::to_string(choices.level) + ", " + Count(ws.data.locusCount, "locus", "loci"),
      "f: band frequency among the scored individuals; q = sqrt(1 - f), p = 1 - q; He = 2pq, uHe = 2n/(2n - 1) He;",
      "Hj: Lynch & Milligan (1994) over the loci with more than " + FormatShortest(double(choices.absences)) +
          " band absences."};
  std::vector<std::string> notes = {
      "Private: bands present in this population only; LComm: bands of frequency >= 5 % here that are present in",
      "at most 25 % (50 %) of the populations. %P: loci with 0 < f < 1; %P(0.95): loci with 0.05 <= q <= 0.95.",
      "Unscored loci (every score of the population missing) are left out of the population's row."};
  const std::vector<std::string> undefinedNotes = UndefinedValueNotes(rows, choices.absences);
  notes.insert(notes.end(), undefinedNotes.begin(), undefinedNotes.end());
  const ResultTable table = DiversityTable(rows);
  const ReportMethod method{
      "Within each of the " + Count(populations.size(), "population", "populations") + " of level " +
          std::to_string(choices.level) +
          " we counted bands, private and locally common bands and polymorphic loci, and estimated the expected "
          "heterozygosity He and its unbiased form uHe from square-root band frequencies, and Hj after Lynch & "
          "Milligan (1994) over the loci with more than " + FormatShortest(double(choices.absences)) +
          " band absences.",
      {"lynch1994"}};
  WriteTables(app, choices.tableFile, heading, {TableBlock{table, table, notes}}, method);
}

// ---- Pairwise PhiPT ----

std::vector<std::string> Header(const std::vector<PopulationMembers>& populations, const std::string& corner) {
  std::vector<std::string> header{corner};
  for (const auto& population : populations) header.push_back(population.name);
  return header;
}

// PhiPT below the diagonal, p above; negative estimates marked with "*" in the aligned table.
std::pair<ResultTable, ResultTable> PhiPTTables(const std::vector<PopulationMembers>& populations,
                                                const PairwisePhiPT& result) {
  ResultTable aligned, tabbed;
  aligned.rows.push_back(Header(populations, "PhiPT \\ p"));
  tabbed.rows.push_back(Header(populations, "PhiPT \\ p"));
  for (std::size_t a = 0; a < populations.size(); ++a) {
    std::vector<std::string> row{populations[a].name}, tabRow{populations[a].name};
    for (std::size_t b = 0; b < populations.size(); ++b) {
      if (a == b) {
        row.push_back("-"), tabRow.push_back("-");
        continue;
      }
      const PairPhiPT& pair = result(a, b);
      const Real value = a > b ? pair.phiPT : pair.p;
      const std::string text = pair.defined ? FormatReal(value) : "undefined";
      tabRow.push_back(text);
      row.push_back(text + (pair.defined && a > b && value < 0 ? "*" : pair.defined ? " " : ""));
    }
    aligned.rows.push_back(row);
    tabbed.rows.push_back(tabRow);
  }
  return {aligned, tabbed};
}

ResultTable NeiTable(const std::vector<PopulationMembers>& populations, const std::vector<NeiValues>& nei) {
  ResultTable table;
  table.rows.push_back(Header(populations, "D \\ I"));
  for (std::size_t a = 0; a < populations.size(); ++a) {
    std::vector<std::string> row{populations[a].name};
    for (std::size_t b = 0; b < populations.size(); ++b) {
      if (a == b) {
        row.push_back("-");
        continue;
      }
      const NeiValues& values = a > b ? nei[a * (a - 1) / 2 + b] : nei[b * (b - 1) / 2 + a];
      row.push_back(ValueText(a > b ? values.distance : values.identity));
    }
    table.rows.push_back(row);
  }
  return table;
}

// The permutation p of every pair with its corrections (Options > Corrected p-Values); a pair
// without PhiPT has no p and stays out of the family.
TableBlock CorrectedPairBlock(const std::vector<PopulationMembers>& populations, const PairwisePhiPT& result) {
  std::vector<std::string> names;
  std::vector<Real> p;
  for (std::size_t a = 1; a < populations.size(); ++a) {
    for (std::size_t b = 0; b < a; ++b) {
      names.push_back(populations[b].name + " - " + populations[a].name);
      p.push_back(result(a, b).defined ? result(a, b).p : std::numeric_limits<Real>::quiet_NaN());
    }
  }
  ResultTable table = CorrectedPTable("Pair", names, p);
  const std::string family = AppendCorrectedPColumns(table, p);
  return TableBlock{table, table, {"PhiPT's permutation p of each pair. " + family}};
}

void PairwisePhiPT1Click(TMainPrg& app) {
  const PopulationRun run(app, app.dialogs.pairwisePhiPT, 2);
  if (!run.Ready()) return;
  const auto& choices = run.Chosen();
  const std::vector<PopulationMembers>& populations = run.Members();
  Workspace& ws = app.ws;
  const std::size_t pairCount = populations.size() * (populations.size() - 1) / 2;
  app.Report("Pairwise PhiPT: " + Count(populations.size(), "population", "populations") + " at level " +
             std::to_string(choices.level) + " with " + std::to_string(choices.permutations) + " permutations");
  const auto distances = AmovaDistances(ws.data, ws.settings.similarity, ws.settings.replicates.JC, ws.random);
  if (!app.Check(distances)) return;
  CommandProgress progress(app.host, "Pairwise PhiPT", "Pair", pairCount);
  const PairwisePhiPT result =
      ComputePairwisePhiPT(*distances, populations, ws.data.individualLabels, ws.groups.groups, ws.data.locusCount,
                           choices.permutations, ws.random, [&](std::size_t done) { return progress.Advance(done); });
  if (result.cancelled) {
    app.Report("Cancelled: " + std::to_string(result.pairs.size()) + " of " + std::to_string(pairCount) +
               " pairs done; nothing was written.");
    return;
  }
  const std::vector<NeiValues> nei = NeiBetween(ws.data, populations);

  std::vector<std::string> undefinedNotes;
  bool negative = false;
  Real low = 0, high = 0;
  std::size_t defined = 0;
  for (std::size_t a = 1; a < populations.size(); ++a) {
    for (std::size_t b = 0; b < a; ++b) {
      const PairPhiPT& pair = result(a, b);
      if (!pair.defined) {
        undefinedNotes.push_back((populations)[b].name + " and " + (populations)[a].name + ": PhiPT undefined. " +
                                 pair.cause);
        continue;
      }
      negative = negative || pair.phiPT < 0;
      low = defined == 0 ? pair.phiPT : std::min(low, pair.phiPT);
      high = defined == 0 ? pair.phiPT : std::max(high, pair.phiPT);
      ++defined;
    }
  }
  std::string summary = Count(populations.size(), "population", "populations") + ", " +
                        Count(pairCount, "pair", "pairs") + ", " + std::to_string(choices.permutations) +
                        " permutations each\r\n";
  if (defined > 0) summary += "PhiPT from " + FormatReal(low) + " to " + FormatReal(high) + "\r\n";
  if (!undefinedNotes.empty()) summary += "PhiPT undefined for " + Count(undefinedNotes.size(), "pair", "pairs") + "\r\n";
  const auto answer =
      app.MessageQuery(summary + "\r\nWrite results to analysis file?", "Pairwise PhiPT", MessageButtons::YesNo);
  if (answer != MessageAnswer::Yes) return;

  const SimilaritySettings& settings = ws.settings.similarity;
  const std::vector<std::string> heading = {
      "Pairwise PhiPT: " + Count(populations.size(), "population", "populations") + " of level " +
          std::to_string(choices.level) + ", " + std::to_string(choices.permutations) + " permutations per pair",
      "Coefficient: " + SimilarityModeName(settings.amovaSimilarity, settings.coefficient, false) + " " +
          CoefficientName(settings.coefficient) + ". Distance Transformation: " +
          TransformationName(settings.transformation) + "."};
  std::vector<std::string> phiNotes = {"PhiPT below the diagonal, its permutation p above."};
  if (negative) phiNotes.push_back("* a negative estimate, written as computed.");
  phiNotes.insert(phiNotes.end(), undefinedNotes.begin(), undefinedNotes.end());
  std::vector<std::string> neiNotes = {
      "Nei's (1978) unbiased genetic distance below the diagonal, identity above (square-root allele frequencies)."};
  for (std::size_t a = 1, k = 0; a < populations.size(); ++a) {
    for (std::size_t b = 0; b < a; ++b, ++k) {
      if (const std::string cause = NeiUndefinedCause(nei[k]); !cause.empty()) {
        neiNotes.push_back((populations)[b].name + " and " + (populations)[a].name + ": Nei's distance undefined: " +
                           cause + ".");
      }
    }
  }
  auto [aligned, tabbed] = PhiPTTables(populations, result);
  const ResultTable neiTable = NeiTable(populations, nei);
  std::vector<TableBlock> blocks = {TableBlock{std::move(aligned), std::move(tabbed), phiNotes},
                                    TableBlock{neiTable, neiTable, neiNotes}};
  if (ws.settings.correctedPValues) blocks.push_back(CorrectedPairBlock(populations, result));
  ReportMethod method{"", {"excoffier1992", "nei1978"}};
  method.sentence = "Pairwise PhiPT between the " + Count(populations.size(), "population", "populations") +
                    " of level " + std::to_string(choices.level) + " (Excoffier et al. 1992) was computed from " +
                    DistancePhrase(settings, settings.amovaSimilarity, ws.settings.replicates.JC, method.references) +
                    ", and tested with " + std::to_string(choices.permutations) +
                    " permutations per pair; Nei's (1978) unbiased genetic distance between them was estimated from "
                    "square-root band frequencies.";
  WriteTables(app, choices.tableFile, heading, blocks, method);
}

}  // namespace

void RegisterPopulationCommands(HandlerTable& table) {
  table["PopulationDiversity1Click"] = Plain(PopulationDiversity1Click);
  table["PairwisePhiPT1Click"] = Plain(PairwisePhiPT1Click);
}

}  // namespace vorn
