// Analysis > Population Structure: the admixture model fitted by maximum likelihood for K over
// a range, several runs per K, the runs aligned, K chosen by Evanno's dK and by cross-validation.
// Keeps the bars for View > Save Structure Plot and shows a summary; on Yes writes the Q files (and the best runs' frequencies) whole, then appends
// the result block to the analysis file. Groups from clusters, when asked, join the group list
// whatever the answer. A cancelled run writes nothing.
#include <algorithm>
#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "clustering/cluster_groups.h"
#include "clustering/score_table.h"
#include "clustering/structure_runs.h"
#include "commands/shell/data_guard.h"
#include "commands/population/population_support.h"
#include "commands/data/whole_data_set.h"
#include "commands/report/report_steps.h"
#include "core/command_progress.h"
#include "core/number_format.h"
#include "core/text_file.h"
#include "groups/group_model.h"
#include "groups/selection.h"

namespace vorn {
namespace {

std::string ModelName(BandModel model) {
  return model == BandModel::DiploidDominant ? "diploid, dominant bands" : "haploid, or bands read as alleles";
}

std::string KText(std::size_t k) { return "K = " + std::to_string(k); }

std::string ClusterName(std::size_t c) { return "Cluster" + std::to_string(c + 1); }

// The population of each fitted individual at the level, "-" where it is in none; nothing after
// a message when the level's groups name an individual the data do not hold.
std::optional<std::vector<std::string>> PopulationNames(TMainPrg& app, const FittedScores& fitted,
                                                        std::size_t level) {
  std::vector<std::string> names(fitted.kept.size(), "-");
  const GroupList& groups = app.ws.groups.groups;
  if (LevelCount(groups) < level + 1) return names;
  const auto populations = PopulationsOfLevel(app.ws.data.individualLabels, groups, level);
  if (!app.Check(populations)) return std::nullopt;
  std::vector<std::string> ofIndividual(app.ws.data.individualCount);
  for (auto it = populations->rbegin(); it != populations->rend(); ++it) {
    for (std::uint32_t i : it->individuals) ofIndividual[i] = std::string(LastNameComponent(it->name));
  }
  for (std::size_t row = 0; row < fitted.kept.size(); ++row) {
    if (!ofIndividual[fitted.kept[row]].empty()) names[row] = ofIndividual[fitted.kept[row]];
  }
  return names;
}

// The row of perK reported: the one asked for, else the dK choice, else the cross-validation
// choice, else the smallest K.
std::size_t ReportedRow(const StructureResult& result, const StructureChoices& choices) {
  if (choices.reportedK != 0) return choices.reportedK - choices.settings.minClusters;
  if (result.deltaChoice) return *result.deltaChoice;
  return result.validationChoice.value_or(0);
}

std::string ChoiceText(const StructureResult& result, const std::optional<std::size_t>& row) {
  return row ? KText(result.perK[*row].clusters) : std::string("none");
}

ResultTable KTable(const StructureResult& result, bool validated) {
  ResultTable table;
  table.rows.push_back({"K", "Mean lnL", "SD lnL", "dK", "CV error", "Mean G'", "Runs at best", "Best lnL"});
  for (std::size_t j = 0; j < result.perK.size(); ++j) {
    const ClusterSolutions& solutions = result.perK[j];
    const EvannoRow& evanno = result.evanno[j];
    table.rows.push_back({std::to_string(solutions.clusters), FormatReal(evanno.mean), FormatReal(evanno.sd),
                          evanno.deltaK ? FormatReal(*evanno.deltaK) : "undefined (" + evanno.undefinedBecause + ")",
                          validated ? FormatReal(solutions.validationError) : std::string("-"),
                          FormatReal(solutions.meanGPrime),
                          std::to_string(solutions.runsAtBest) + " of " + std::to_string(solutions.runs.size()),
                          FormatReal(solutions.runs[solutions.best].logLikelihood)});
  }
  return table;
}

ResultTable RunsTable(const StructureResult& result) {
  ResultTable table;
  table.rows.push_back({"K", "Run", "lnL", "Iterations", "Converged"});
  for (const auto& solutions : result.perK) {
    for (std::size_t r = 0; r < solutions.runs.size(); ++r) {
      const AdmixtureFit& run = solutions.runs[r];
      table.rows.push_back({std::to_string(solutions.clusters), std::to_string(r + 1), FormatReal(run.logLikelihood),
                            std::to_string(run.iterations), run.converged ? "yes" : "no"});
    }
  }
  return table;
}

// Individual, population, q1..qK and the largest cluster: the reported K's table and, without
// its last column, every Q file.
ResultTable AncestryTable(const std::vector<std::string>& labels, const std::vector<std::string>& populations,
                          const std::vector<double>& q, std::size_t k, bool largest) {
  ResultTable table;
  table.rows.push_back({"Individual", "Population"});
  for (std::size_t c = 0; c < k; ++c) table.rows[0].push_back("q" + std::to_string(c + 1));
  if (largest) table.rows[0].push_back("Largest");
  for (std::size_t i = 0; i < labels.size(); ++i) {
    std::vector<std::string> row{labels[i], populations[i]};
    for (std::size_t c = 0; c < k; ++c) row.push_back(FormatReal(q[i * k + c]));
    if (largest) row.push_back(ClusterName(LargestCluster(q, k, i)));
    table.rows.push_back(std::move(row));
  }
  return table;
}

ResultTable FrequencyTable(const LabelTable& loci, const std::vector<double>& r, std::size_t k) {
  ResultTable table;
  table.rows.push_back({"Locus"});
  for (std::size_t c = 0; c < k; ++c) table.rows[0].push_back("r" + std::to_string(c + 1));
  for (std::size_t l = 0; l < loci.Count(); ++l) {
    std::vector<std::string> row{loci[l]};
    for (std::size_t c = 0; c < k; ++c) row.push_back(FormatReal(r[l * k + c]));
    table.rows.push_back(std::move(row));
  }
  return table;
}

bool WriteTabbed(TMainPrg& app, const std::string& path, const ResultTable& table) {
  return app.Check(ReplaceFileWhole(path, [&](TextFileWriter& file) {
    for (const auto& line : table.TabSeparated()) file.Line(line);
    return Success();
  }));
}

std::string FileOf(const std::string& base, std::size_t k, const std::string& suffix) {
  return base + "_K" + std::to_string(k) + suffix + ".tsv";
}

// The Q files of every K (and the best runs' frequencies and Q when asked), each written whole;
// false after a message.
bool WriteQFiles(TMainPrg& app, const StructureChoices& choices, const StructureResult& result,
                 const std::vector<std::string>& labels, const std::vector<std::string>& populations) {
  for (const auto& solutions : result.perK) {
    const std::size_t k = solutions.clusters;
    if (!WriteTabbed(app, FileOf(choices.qFiles, k, ""), AncestryTable(labels, populations, solutions.meanQ, k, false)))
      return false;
    if (!choices.frequencies) continue;
    const AdmixtureParameters& best = solutions.runs[solutions.best].parameters;
    if (!WriteTabbed(app, FileOf(choices.qFiles, k, "_frequencies"),
                     FrequencyTable(app.ws.data.locusLabels, best.r, k)) ||
        !WriteTabbed(app, FileOf(choices.qFiles, k, "_best_q"), AncestryTable(labels, populations, best.q, k, false)))
      return false;
  }
  return true;
}

void WriteBlock(TMainPrg& app, const StructureChoices& choices, const FittedScores& fitted,
                const StructureResult& result, std::size_t reported, const std::vector<std::string>& labels,
                const std::vector<std::string>& populations) {
  const StructureSettings& settings = choices.settings;
  const ClusterSolutions& chosen = result.perK[reported];
  std::vector<std::string> lines = {
      "Population structure (admixture model, maximum likelihood): " +
          Count(fitted.table.individuals, "individual", "individuals") + ", " +
          Count(fitted.table.loci, "locus", "loci") + " (" + std::to_string(fitted.polymorphicLoci) +
          " polymorphic), " + ModelName(settings.fit.model) + ".",
      "K from " + std::to_string(settings.minClusters) + " to " + std::to_string(settings.maxClusters) + ", " +
          Count(settings.runs, "run", "runs") + " each from random starts; block relaxation (Newton steps for",
      "Q and for R) accelerated by quasi-Newton steps, converged when a cycle gains less than " +
          FormatShortest(settings.fit.tolerance) + " in lnL",
      "(at most " + std::to_string(settings.fit.maxIterations) + " iterations); q and r kept within [" + FormatShortest(kBound) +
          ", 1 - " + FormatShortest(kBound) + "].",
      settings.folds > 0 ? "Cross-validation: " + std::to_string(settings.folds) + " folds of the " +
                               std::to_string(result.maskedScores) + " scored cells."
                         : std::string("No cross-validation.")};
  if (!fitted.leftOut.empty()) {
    std::string names;
    for (const auto& name : fitted.leftOut) names += (names.empty() ? "" : ", ") + name;
    lines.push_back("Left out, every score missing: " + names + ".");
  }
  const ResultTable kTable = KTable(result, settings.folds > 0);
  const std::vector<std::string> kNotes = {
      "dK: Evanno et al. (2005), mean |L(K+1) - 2 L(K) + L(K-1)| over the runs / sd L(K). CV error: mean",
      "deviance -2 ln P(score) of the masked scores. Mean G': Jakobsson & Rosenberg's similarity over the",
      "pairs of aligned runs. Runs at best: runs within the tolerance of the best lnL.",
      "Largest dK: " + ChoiceText(result, result.deltaChoice) +
          ". Lowest cross-validation error: " + ChoiceText(result, result.validationChoice) + "."};
  const ResultTable runs = RunsTable(result);
  const std::string ancestryTitle = KText(chosen.clusters) +
                                    ": each individual's q averaged over the aligned runs, its population at "
                                    "level " + std::to_string(choices.level) + " and its largest cluster.";
  const ResultTable ancestry = AncestryTable(labels, populations, chosen.meanQ, chosen.clusters, true);
  auto file = app.BeginOutputFile(app.ws.files.analysis);
  if (!file) return;
  for (const auto& line : lines) file->Line(line);
  file->Line();
  for (const auto& line : kTable.Aligned()) file->Line(line);
  for (const auto& line : kNotes) file->Line(line);
  file->Line();
  for (const auto& line : runs.Aligned()) file->Line(line);
  file->Line();
  file->Line(ancestryTitle);
  for (const auto& line : ancestry.Aligned()) file->Line(line);
  file->Line();
  if (!app.FinishOutputFile(*file)) return;
  ReportStep step;
  step.title = "Population structure";
  step.lines = lines;
  step.references = {"evanno2005", "jakobsson2007"};
  step.method = "Population structure of the " + Count(fitted.table.individuals, "individual", "individuals") +
                " at " + Count(fitted.table.loci, "locus", "loci") +
                " was inferred under the admixture model by maximum likelihood for K = " +
                std::to_string(settings.minClusters) + " to " + std::to_string(settings.maxClusters) + ", " +
                Count(settings.runs, "run", "runs") + " from random starts for each K; the runs were aligned and "
                "compared by their similarity G' (Jakobsson & Rosenberg 2007), and K was judged by dK (Evanno et al. "
                "2005)" +
                (settings.folds > 0 ? " and by the error of a " + std::to_string(settings.folds) +
                                          "-fold cross-validation of the scores"
                                    : std::string()) +
                ".";
  step.tables.push_back(ReportTable{kTable, {"Each K over its runs.", kNotes[0], kNotes[1], kNotes[2], kNotes[3]}});
  step.tables.push_back(ReportTable{runs, {"Each run."}});
  AddListing(step, ancestry, {ancestryTitle}, app.ws.files.analysis);
  app.reportRecord.Add(std::move(step));
}

// The bars of every K in plot order: by population (in the order of the group list, those in none
// last), then by the largest cluster at the reported K, otherwise in data order.
StructureBars MakeBars(const GroupList& groups, std::size_t level, const StructureResult& result,
                       std::size_t reported, const std::vector<std::string>& labels,
                       const std::vector<std::string>& populations) {
  const std::vector<std::string> listed = NamesAtDepth(groups, level + 1);
  const auto rank = [&](const std::string& population) {
    for (std::size_t p = 0; p < listed.size(); ++p) {
      if (LastNameComponent(listed[p]) == population) return p;
    }
    return listed.size();
  };
  const ClusterSolutions& chosen = result.perK[reported];
  std::vector<std::size_t> order(labels.size());
  for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    const auto keyOf = [&](std::size_t i) {
      return std::pair{rank(populations[i]), LargestCluster(chosen.meanQ, chosen.clusters, i)};
    };
    return keyOf(a) < keyOf(b);
  });
  StructureBars bars;
  bars.reported = chosen.clusters;
  for (std::size_t i : order) {
    bars.individuals.push_back(labels[i]);
    bars.populations.push_back(populations[i]);
  }
  for (std::size_t j = 0; j < result.perK.size(); ++j) {
    const ClusterSolutions& solutions = result.perK[j];
    const std::size_t k = solutions.clusters;
    bars.clusters.push_back(k);
    std::vector<double> q;
    for (std::size_t i : order) q.insert(q.end(), solutions.meanQ.begin() + i * k, solutions.meanQ.begin() + (i + 1) * k);
    bars.q.push_back(std::move(q));
    bars.deltaK.push_back(result.evanno[j].deltaK.value_or(std::nan("")));
    if (result.validationChoice) bars.validationError.push_back(solutions.validationError);
  }
  return bars;
}

// Adds the groups of the reported K, keeping the active group selected where it survives.
void MakeGroups(TMainPrg& app, const std::vector<std::string>& labels, const ClusterSolutions& chosen,
                double threshold) {
  GroupState& state = app.ws.groups;
  if (state.groups.empty() && !app.Check(BuildAllData(app.ws.data, state.groups))) return;
  GroupList made = ClusterGroups(labels, chosen.meanQ, chosen.clusters, threshold);
  const std::string level = ClusterLevelName(chosen.clusters);
  const std::string active = state.activeGroup < state.groups.size() ? state.groups[state.activeGroup].name : "";
  if (active == level || active.starts_with(level + "/")) {
    if (!app.Check(SelectGroup(app.ws, 0))) return;
  }
  const std::size_t count = made.size() - 1;
  ReplaceClusterGroups(state.groups, chosen.clusters, std::move(made));
  for (std::size_t g = 0; g < state.groups.size(); ++g) {
    if (state.activeGroup != 0 && state.groups[g].name == active) state.activeGroup = static_cast<std::uint16_t>(g);
  }
  app.RebuildGroupMenu(DisplayNames(state.groups, state.showFullPath));
  app.Report("Groups from clusters: " + level + " with " + Count(count, "group", "groups") + " (q >= " +
             FormatShortest(threshold) + ")");
}

// The analysis on the whole data set; the chosen solutions and their labels for groups.
struct Analysed {
  std::vector<std::string> labels;
  ClusterSolutions chosen;
};

std::optional<Analysed> Analyse(TMainPrg& app, const StructureChoices& choices) {
  Workspace& ws = app.ws;
  WholeDataSet whole(app);
  if (!whole.Selected()) return std::nullopt;
  const StructureSettings& settings = choices.settings;
  const auto fitted = ScoresToFit(ws.data);
  if (!app.Check(fitted) || !app.Check(CheckStructureSettings(fitted->table, settings))) return std::nullopt;
  if (choices.reportedK != 0 &&
      (choices.reportedK < settings.minClusters || choices.reportedK > settings.maxClusters)) {
    app.ErrorBox("The K reported (" + std::to_string(choices.reportedK) + ") lies outside K = " +
                 std::to_string(settings.minClusters) + " to " + std::to_string(settings.maxClusters) + ".");
    return std::nullopt;
  }
  const auto populations = PopulationNames(app, *fitted, choices.level);
  if (!populations) return std::nullopt;
  Analysed analysed;
  for (std::uint32_t i : fitted->kept) analysed.labels.push_back(ws.data.individualLabels[i]);

  app.Report("Population Structure: " + Count(fitted->table.individuals, "individual", "individuals") + ", " +
             Count(fitted->table.loci, "locus", "loci") + ", K = " + std::to_string(settings.minClusters) + " to " +
             std::to_string(settings.maxClusters) + " with " + Count(settings.runs, "run", "runs") + " each");
  if (!fitted->leftOut.empty()) {
    app.Report("Left out, every score missing: " + Count(fitted->leftOut.size(), "individual", "individuals") +
               " (" + fitted->leftOut.front() + (fitted->leftOut.size() > 1 ? ", ..." : "") + ")");
  }
  const std::size_t fits = StructureFitCount(settings);
  CommandProgress progress(app.host, "Population Structure", "Fit", fits);
  std::size_t done = 0;
  const auto result = AnalyseStructure(fitted->table, settings, ws.random,
                                       [&](std::size_t count) { return progress.Advance(done = count); });
  if (!result && progress.Cancelled()) {
    app.Report("Cancelled: " + std::to_string(done) + " of " + std::to_string(fits) +
               " fits done; nothing was written.");
    return std::nullopt;
  }
  if (!app.Check(result)) return std::nullopt;
  const std::size_t reported = ReportedRow(*result, choices);
  analysed.chosen = result->perK[reported];
  ws.structure = MakeBars(ws.groups.groups, choices.level, *result, reported, analysed.labels, *populations);

  std::string summary = Count(fitted->table.individuals, "individual", "individuals") + ", " +
                        Count(fitted->table.loci, "locus", "loci") + "\r\n";
  summary += "Largest dK: " + ChoiceText(*result, result->deltaChoice) + "\r\n";
  summary += "Lowest cross-validation error: " + ChoiceText(*result, result->validationChoice) + "\r\n";
  summary += "Reported: " + KText(analysed.chosen.clusters) + ", best lnL= " +
             FormatReal(analysed.chosen.runs[analysed.chosen.best].logLikelihood) + "\r\n";
  const auto answer =
      app.MessageQuery(summary + "\r\nWrite results to analysis file?", "Population Structure", MessageButtons::YesNo);
  if (answer == MessageAnswer::Yes &&
      (choices.qFiles.empty() || WriteQFiles(app, choices, *result, analysed.labels, *populations))) {
    WriteBlock(app, choices, *fitted, *result, reported, analysed.labels, *populations);
  }
  return analysed;
}

void PopulationStructure1Click(TMainPrg& app) {
  if (!RequireMatrix(app)) return;
  const auto choices = app.dialogs.structure.Execute(app);
  if (!choices) return;
  const auto analysed = Analyse(app, *choices);
  if (analysed && choices->makeGroups) MakeGroups(app, analysed->labels, analysed->chosen, choices->threshold);
}

}  // namespace

void RegisterStructureCommand(HandlerTable& table) { table["PopulationStructure1Click"] = Plain(PopulationStructure1Click); }

}  // namespace vorn
