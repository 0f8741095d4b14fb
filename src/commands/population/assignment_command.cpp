// Analysis > Assignment Test: each individual's band profile weighed in every population of a
// level (each reference left out of its own), the members of a chosen group assigned only, with
// an optional p from simulated profiles. Runs on the whole data set with the working loci, shows
// a summary and on Yes appends the per-individual and per-population tables to the analysis
// file, with a tab-separated copy in the file the dialog names.
#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "clustering/assignment_test.h"
#include "commands/population/population_support.h"
#include "commands/data/whole_data_set.h"
#include "core/command_progress.h"
#include "core/number_format.h"
#include "groups/group_model.h"

namespace vorn {
namespace {

// The members of the group named path, as positions in the data; nothing after a message.
std::optional<std::vector<std::uint32_t>> AssignedOnly(TMainPrg& app, const std::string& path) {
  if (path.empty()) return std::vector<std::uint32_t>{};
  const GroupList& groups = app.ws.groups.groups;
  for (std::size_t g = 1; g < groups.size(); ++g) {
    if (groups[g].name != path) continue;
    auto members = MembersOf(app.ws.data.individualLabels, groups, g);
    if (!app.Check(members)) return std::nullopt;
    return std::move(members->individuals);
  }
  app.ErrorBox("There is no group \"" + path + "\" to assign only; name it by its whole path, as in \"" +
               std::string(kAllData) + "/Unknown\".");
  return std::nullopt;
}

std::vector<ReferencePopulation> References(const std::vector<PopulationMembers>& populations) {
  std::vector<ReferencePopulation> references;
  for (const auto& population : populations) references.push_back({population.name, population.individuals});
  return references;
}

// Per individual: its population, loci, log10 L in each population, the assignment, the ratio
// and, with simulations, p in each population.
ResultTable IndividualTable(const DataMatrix& data, const std::vector<ReferencePopulation>& populations,
                            const AssignmentResult& result, const std::string& assignedOnlyName) {
  ResultTable table;
  std::vector<std::string> header = {"Individual", "Population", "Loci"};
  for (const auto& population : populations) header.push_back("log10L(" + population.name + ")");
  header.insert(header.end(), {"Assigned", "LLR"});
  if (result.simulations > 0) {
    for (const auto& population : populations) header.push_back("p(" + population.name + ")");
  }
  table.rows.push_back(header);
  for (const auto& row : result.rows) {
    std::string home = row.homes.empty() ? assignedOnlyName : populations[row.homes[0]].name;
    for (std::size_t h = 1; h < row.homes.size(); ++h) home += "+" + populations[row.homes[h]].name;
    std::vector<std::string> cells = {data.individualLabels[row.individual], home, std::to_string(row.loci)};
    for (const Real logL : row.log10Likelihoods) cells.push_back(FormatReal(logL));
    cells.insert(cells.end(), {populations[row.assigned].name, FormatReal(row.ratio)});
    for (const Real p : row.p) cells.push_back(FormatReal(p));
    table.rows.push_back(cells);
  }
  return table;
}

// Per population of origin (and the group assigned only): how many were assigned to each
// population, and the share assigned to its own.
ResultTable PopulationTable(const std::vector<ReferencePopulation>& populations, const AssignmentResult& result,
                            const std::string& assignedOnlyName) {
  const std::size_t n = populations.size();
  std::vector<std::vector<std::size_t>> counts(n + 1, std::vector<std::size_t>(n, 0));
  for (const auto& row : result.rows) {
    if (row.homes.empty()) ++counts[n][row.assigned];
    for (const std::size_t home : row.homes) ++counts[home][row.assigned];
  }
  ResultTable table;
  std::vector<std::string> header = {"From \\ assigned to", "N"};
  for (const auto& population : populations) header.push_back(population.name);
  header.push_back("Own");
  table.rows.push_back(header);
  for (std::size_t from = 0; from <= n; ++from) {
    std::size_t total = 0;
    for (const std::size_t count : counts[from]) total += count;
    if (from == n && total == 0) break;
    std::vector<std::string> cells = {from < n ? populations[from].name : assignedOnlyName, std::to_string(total)};
    for (const std::size_t count : counts[from]) cells.push_back(std::to_string(count));
    cells.push_back(from == n || total == 0 ? std::string("-") : FormatReal(Real(counts[from][from]) / Real(total)));
    table.rows.push_back(cells);
  }
  return table;
}

// Reference individuals assigned to their own population (to one of them, when in several).
std::size_t AssignedHome(const AssignmentResult& result, std::size_t& references) {
  std::size_t home = 0;
  references = 0;
  for (const auto& row : result.rows) {
    if (row.homes.empty()) continue;
    ++references;
    home += std::find(row.homes.begin(), row.homes.end(), row.assigned) != row.homes.end();
  }
  return home;
}

void AssignmentTest1Click(TMainPrg& app) {
  const PopulationRun run(app, app.dialogs.assignmentTest, 2);
  if (!run.Ready()) return;
  const auto& choices = run.Chosen();
  const std::vector<PopulationMembers>& members = run.Members();
  Workspace& ws = app.ws;
  const auto assignedOnly = AssignedOnly(app, choices.assignedOnly);
  if (!assignedOnly) return;
  const std::vector<ReferencePopulation> populations = SetAside(References(members), *assignedOnly);
  const std::string simulated =
      choices.simulations > 0 ? " with " + std::to_string(choices.simulations) + " simulated profiles" : "";
  app.Report("Assignment Test: " + Count(populations.size(), "population", "populations") + " at level " +
             std::to_string(choices.level) + simulated);

  CommandProgress progress(app.host, "Assignment Test", "Individual",
                           IndividualsToAssign(ws.data.individualCount, populations, *assignedOnly).size());
  std::size_t done = 0;
  const auto result = AssignmentTest(ws.data, populations, *assignedOnly, choices.simulations, ws.random,
                                     [&](std::size_t count) { return progress.Advance(done = count); });
  if (!result && progress.Cancelled()) {
    app.Report("Cancelled: " + std::to_string(done) + " individuals simulated; nothing was written.");
    return;
  }
  if (!app.Check(result)) return;

  std::size_t references = 0;
  const std::size_t home = AssignedHome(*result, references);
  const std::string assignedOnlyName = choices.assignedOnly.empty() ? "-" : choices.assignedOnly;
  const std::size_t unknown = result->rows.size() - references;
  std::string summary = Count(result->rows.size(), "individual", "individuals") + " assigned to " +
                        Count(populations.size(), "population", "populations") + "\r\n" +
                        "Assigned to their own population: " + std::to_string(home) + " of " +
                        std::to_string(references) + "\r\n";
  if (unknown > 0) summary += "Assigned only (" + choices.assignedOnly + "): " + std::to_string(unknown) + "\r\n";
  if (!result->leftOut.empty()) {
    summary += "Left out without a locus to compare by: " + Count(result->leftOut.size(), "individual", "individuals") +
               "\r\n";
  }
  const auto answer =
      app.MessageQuery(summary + "\r\nWrite results to analysis file?", "Assignment Test", MessageButtons::YesNo);
  if (answer != MessageAnswer::Yes) return;

  std::vector<std::string> heading = {
      "Assignment test (Duchesne & Bernatchez 2002): " + Count(result->rows.size(), "individual", "individuals") +
          ", " + Count(populations.size(), "population", "populations") + " of level " +
          std::to_string(choices.level) + ", " + Count(ws.data.locusCount, "locus", "loci") + " (" +
          std::to_string(result->polymorphicLoci) + " polymorphic among the references)",
      "Reference: the individuals of each population, every one left out of its own" +
          (choices.assignedOnly.empty() ? std::string(".")
                                         : "; " + choices.assignedOnly + " assigned only, no reference.")};
  if (result->simulations > 0) {
    heading.push_back("p: " + std::to_string(result->simulations) +
                      " profiles simulated per individual and population (Paetkau et al. 2004).");
  }
  std::vector<std::string> individualNotes = {
      "P(band absent) in a population: its share of absences among the scored references, a share of 0 or 1",
      "replaced by 1/(n + 1) or n/(n + 1) for n scored references. Loci: scored in the individual and in every",
      "population. log10L: log10 likelihood of the profile; LLR: log10L(assigned) - log10L(second)."};
  if (result->simulations > 0) {
    individualNotes.push_back(
        "p: (simulated profiles with log10L <= the individual's, + 1) / (simulations + 1), over its loci.");
  }
  for (const std::uint32_t i : result->leftOut) {
    individualNotes.push_back("Left out: " + ws.data.individualLabels[i] +
                              " (no locus scored both in it and in every population).");
  }
  const std::vector<std::string> populationNotes = {
      "Individuals of each population (rows) assigned to each population (columns); Own: the share assigned to",
      "its own population."};
  const ResultTable individuals = IndividualTable(ws.data, populations, *result, assignedOnlyName);
  const ResultTable table = PopulationTable(populations, *result, assignedOnlyName);
  ReportMethod method{
      "Each of the " + Count(result->rows.size(), "individual", "individuals") + " was assigned to the one of " +
          Count(populations.size(), "population", "populations") + " of level " + std::to_string(choices.level) +
          " in which its band profile is most likely (Duchesne & Bernatchez 2002), each reference individual left "
          "out of its own population's frequencies" +
          (result->simulations > 0 ? ", and the likelihood of its profile was tested against " +
                                         std::to_string(result->simulations) +
                                         " profiles simulated per population (Paetkau et al. 2004)"
                                   : std::string()) +
          ".",
      {"duchesne2002"}};
  if (result->simulations > 0) method.references.push_back("paetkau2004");
  WriteTables(app, choices.tableFile, heading,
              {TableBlock{individuals, individuals, individualNotes}, TableBlock{table, table, populationNotes}},
              method);
}

}  // namespace

void RegisterAssignmentCommand(HandlerTable& table) { table["AssignmentTest1Click"] = Plain(AssignmentTest1Click); }

}  // namespace vorn
