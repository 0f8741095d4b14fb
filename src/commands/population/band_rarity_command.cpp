// Analysis > Band Rarity and Richness: each population's frequency-down-weighted marker values
// (total, mean over its individuals, and rarefied to the smallest population by subsampling)
// and its rarefied band and private band richness for g = 2 .. the smallest scored count, as
// curves. Runs on the whole data set with the working loci; on Yes the tables go to the
// analysis file with a tab-separated copy. The curves are kept for View > Save Rarefaction Curves.
#include <optional>
#include <string>
#include <vector>

#include "commands/population/population_support.h"
#include "commands/data/whole_data_set.h"
#include "core/command_progress.h"
#include "core/number_format.h"
#include "differentiation/band_rarity.h"

namespace vorn {
namespace {

TableBlock RarityBlock(const RarityResult& result, std::int32_t replicates) {
  ResultTable table;
  table.rows.push_back({"Population", "N", "DW total", "DW mean"});
  if (replicates > 0) table.rows[0].insert(table.rows[0].end(), {"DW rarefied", "SD"});
  for (const PopulationRarity& row : result.populations) {
    std::vector<std::string> cells = {row.name, std::to_string(row.individuals), ValueText(row.totalDW),
                                      ValueText(row.meanDW)};
    if (replicates > 0) cells.insert(cells.end(), {ValueText(row.rarefiedMean), ValueText(row.rarefiedSD)});
    table.rows.push_back(cells);
  }
  std::vector<std::string> notes = {
      "DW: frequency-down-weighted marker values; an individual's DW sums 1 / (carriers in the data) over its bands;",
      "the total sums the population's carriers of each band divided by all its carriers; the mean is over its individuals."};
  if (replicates > 0) {
    notes.push_back("DW rarefied: the total among subsamples of " + std::to_string(result.subsampleSize) +
                    " individuals of every population, mean and SD over " + std::to_string(replicates) + " replicates.");
    if (replicates < 2) notes.push_back("SD undefined: a standard deviation needs two replicates.");
  }
  return TableBlock{table, table, notes};
}

TableBlock CurveBlock(const std::vector<PopulationMembers>& populations, const std::vector<std::vector<Real>>& curve,
                      const std::string& what) {
  ResultTable table;
  std::vector<std::string> header{"g"};
  for (const auto& population : populations) header.push_back(population.name);
  table.rows.push_back(header);
  for (std::size_t k = 0; k < curve.size(); ++k) {
    std::vector<std::string> row{std::to_string(k + 2)};
    for (Real value : curve[k]) row.push_back(ValueText(value));
    table.rows.push_back(row);
  }
  std::vector<std::string> notes = {what + ": the number expected in g individuals drawn without replacement"
                                           " (hypergeometric)."};
  if (curve.empty()) {
    notes.push_back(what + " undefined: a population has fewer than two scored individuals at some locus.");
  }
  return TableBlock{table, table, notes};
}

TableBlock IndividualBlock(const DataMatrix& data, const std::vector<PopulationMembers>& populations,
                           const RarityResult& result) {
  ResultTable table;
  table.rows.push_back({"Individual", "Population", "DW"});
  for (const auto& population : populations) {
    for (std::uint32_t i : population.individuals) {
      table.rows.push_back({data.individualLabels[i], population.name, ValueText(result.individualDW[i])});
    }
  }
  return TableBlock{table, table, {}};
}

std::vector<std::vector<double>> Doubles(const std::vector<std::vector<Real>>& curve) {
  std::vector<std::vector<double>> values;
  for (const auto& row : curve) values.emplace_back(row.begin(), row.end());
  return values;
}

// Runs the analysis on the whole data set; the curves it computed, for the picture.
std::optional<RarefactionCurves> RunBandRarity(TMainPrg& app) {
  const PopulationRun run(app, app.dialogs.bandRarity, 2);
  if (!run.Ready()) return std::nullopt;
  const auto& choices = run.Chosen();
  const std::vector<PopulationMembers>& populations = run.Members();
  Workspace& ws = app.ws;
  app.Report("Band Rarity and Richness: " + Count(populations.size(), "population", "populations") + " at level " +
             std::to_string(choices.level));
  CommandProgress progress(app.host, "Band Rarity and Richness", "Replicate", std::size_t(choices.replicates));
  const auto result = ComputeBandRarity(ws.data, populations, choices.replicates, ws.random,
                                        [&](std::size_t done) { return progress.Advance(done); });
  if (!app.Check(result)) return std::nullopt;
  if (result->cancelled) {
    app.Report("Cancelled: nothing was written.");
    return std::nullopt;
  }
  std::string summary = Count(populations.size(), "population", "populations") + ", " +
                        Count(ws.data.locusCount, "locus", "loci") + "\r\n\r\n";
  for (const PopulationRarity& row : result->populations) {
    summary += row.name + ": DW= " + ValueText(row.totalDW) + "\r\n";
  }
  summary += result->richness.empty()
                 ? std::string("Rarefied richness undefined\r\n")
                 : "Rarefied to g= " + std::to_string(result->rarefactionMaximum) + "\r\n";
  std::optional<RarefactionCurves> curves;
  if (!result->richness.empty()) {
    curves = RarefactionCurves{{}, Doubles(result->richness), Doubles(result->privateRichness), 0};
    for (const auto& population : populations) curves->populations.push_back(population.name);
  }
  const auto answer = app.MessageQuery(summary + "\r\nWrite results to analysis file?", "Band Rarity and Richness",
                                       MessageButtons::YesNo);
  if (answer != MessageAnswer::Yes) return curves;
  const std::vector<std::string> heading = {
      "Band rarity and richness: " + Count(populations.size(), "population", "populations") + " of level " +
      std::to_string(choices.level) + ", " + Count(ws.data.locusCount, "locus", "loci")};
  WriteTables(app, choices.tableFile, heading,
              {RarityBlock(*result, choices.replicates), CurveBlock(populations, result->richness, "Br(g), bands"),
               CurveBlock(populations, result->privateRichness,
                                                            "Private Br(g), bands in no other population's g individuals"),
               IndividualBlock(ws.data, populations, *result)},
              ReportMethod{
                  "For each of the " + Count(populations.size(), "population", "populations") + " of level " +
                      std::to_string(choices.level) +
                      " we summed the frequency-down-weighted marker values (DW; Schoenswetter & Tribsch 2005)" +
                      (choices.replicates > 0
                           ? " and rarefied them to " + std::to_string(result->subsampleSize) +
                                 " individuals over " + std::to_string(choices.replicates) + " random subsamples"
                           : std::string()) +
                      ", and computed the band richness and private band richness expected in g individuals by "
                      "rarefaction (Kalinowski 2004)" +
                      (result->richness.empty() ? std::string()
                                                : " for g = 2 to " + std::to_string(result->rarefactionMaximum)) +
                      ".",
                  {"schoenswetter2005", "kalinowski2004"}});
  return curves;
}

void BandRarity1Click(TMainPrg& app) {
  // Kept with the fingerprint of the working data as they are again after the run, so that the
  // picture is refused once a load, filter or selection changed them.
  auto curves = RunBandRarity(app);
  if (!curves) return;
  curves->dataFingerprint = Fingerprint(app.ws.data);
  app.ws.rarefaction = std::move(curves);
}

}  // namespace

void RegisterBandRarityCommand(HandlerTable& table) { table["BandRarity1Click"] = Plain(BandRarity1Click); }

}  // namespace vorn
