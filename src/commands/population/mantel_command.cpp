// Analysis > Mantel Test: the correlation of genetic with geographic distances and its
// permutation test, between individuals (the active matrix under the current transformation) or
// between the populations of a level (pairwise PhiPT or Nei's distance, against the distances
// between the populations' centres). Shows a summary, on Yes appends the result block to the
// analysis file with the pairs copied to the file the dialog names, and keeps the pairs for
// View > Save Mantel Plot.
#include <algorithm>
#include <cctype>
#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "amova/amova.h"
#include "amova/pairwise_phipt.h"
#include "commands/similarity/active_distances.h"
#include "commands/population/chosen_coordinates.h"
#include "commands/shell/data_guard.h"
#include "commands/population/population_support.h"
#include "commands/report/report_steps.h"
#include "commands/data/whole_data_set.h"
#include "core/command_progress.h"
#include "core/number_format.h"
#include "core/text_file.h"
#include "population/geographic_distance.h"
#include "population/mantel_test.h"
#include "similarity/coefficient_names.h"

namespace vorn {
namespace {

constexpr const char* kGeneticName = "genetic distance";
constexpr const char* kGeographicName = "geographic distance";

// The two matrices over the objects compared (individuals or populations), as strict lower
// triangles, with what the result block says of them.
struct MantelMatrices {
  std::vector<std::string> names;  // the objects
  std::string objects;             // "individuals", "populations"
  std::vector<Real> genetic;
  std::vector<Real> geographic;
  std::string geneticCaption;  // "StdJaccard, d=1-s"
};

std::optional<MantelMatrices> IndividualMatrices(TMainPrg& app, const IndividualCoordinates& coordinates,
                                                 bool logarithm) {
  Workspace& ws = app.ws;
  auto genetic = ActiveDistancePairs(app, "the matrix cannot be correlated");
  if (!genetic) return std::nullopt;
  auto geographic = IndividualGeographicDistances(app, coordinates, logarithm);
  if (!geographic) return std::nullopt;
  MantelMatrices matrices;
  matrices.names = ws.data.individualLabels.All();
  matrices.objects = "individuals";
  matrices.genetic = std::move(*genetic);
  matrices.geographic = std::move(*geographic);
  matrices.geneticCaption = ws.results.activeName + ", " + TransformationName(ws.settings.similarity.transformation);
  return matrices;
}

// Pairwise PhiPT between every two populations (without its permutation test): refused when a
// population has one individual or a pair is undefined.
std::optional<std::vector<Real>> PhiPTBetween(TMainPrg& app, const std::vector<PopulationMembers>& populations) {
  Workspace& ws = app.ws;
  for (const auto& population : populations) {
    if (population.individuals.size() < 2) {
      app.ErrorBox("PhiPT needs at least two individuals in every population (a population of one has no variance "
                   "within it); " + population.name + " has one. Choose Nei's distance or another level.");
      return std::nullopt;
    }
  }
  const auto distances = AmovaDistances(ws.data, ws.settings.similarity, ws.settings.replicates.JC, ws.random);
  if (!app.Check(distances)) return std::nullopt;
  const PairwisePhiPT result = ComputePairwisePhiPT(*distances, populations, ws.data.individualLabels, ws.groups.groups,
                                                    ws.data.locusCount, 0, ws.random, [](std::size_t) { return true; });
  std::vector<Real> values;
  for (std::size_t a = 1; a < populations.size(); ++a) {
    for (std::size_t b = 0; b < a; ++b) {
      const PairPhiPT& pair = result(a, b);
      if (!pair.defined) {
        app.ErrorBox("PhiPT between " + populations[b].name + " and " + populations[a].name + " is undefined. " +
                     pair.cause);
        return std::nullopt;
      }
      values.push_back(pair.phiPT);
    }
  }
  return values;
}

std::optional<std::vector<Real>> NeiDistancesBetween(TMainPrg& app, const std::vector<PopulationMembers>& populations) {
  const std::vector<NeiValues> nei = NeiBetween(app.ws.data, populations);
  std::vector<Real> values;
  for (std::size_t a = 1, k = 0; a < populations.size(); ++a) {
    for (std::size_t b = 0; b < a; ++b, ++k) {
      if (const std::string cause = NeiUndefinedCause(nei[k]); !cause.empty()) {
        app.ErrorBox("Nei's distance between " + populations[b].name + " and " + populations[a].name +
                     " is undefined: " + cause + ".");
        return std::nullopt;
      }
      values.push_back(nei[k].distance);
    }
  }
  return values;
}

std::optional<MantelMatrices> PopulationMatrices(TMainPrg& app, const MantelChoices& choices,
                                                 const IndividualCoordinates& coordinates) {
  if (!GroupsDefined(app)) return std::nullopt;
  Workspace& ws = app.ws;
  WholeDataSet whole(app);
  if (!whole.Selected()) return std::nullopt;
  const auto populations = Populations(app, choices.level, 3);
  if (!populations) return std::nullopt;
  MantelMatrices matrices;
  matrices.objects = "populations";
  std::vector<CoordinatePoint> centres;
  for (const auto& population : *populations) {
    auto points = PointsOf(coordinates, ws.data.individualLabels, population.individuals);
    if (!points) {
      app.ErrorBox("In the population " + population.name + ", " + points.error());
      return std::nullopt;
    }
    const auto centre = Centroid(*points, coordinates.kind, population.name);
    if (!app.Check(centre)) return std::nullopt;
    centres.push_back(*centre);
    matrices.names.push_back(population.name);
  }
  const bool phiPT = choices.distance == PopulationDistance::PhiPT;
  auto genetic = phiPT ? PhiPTBetween(app, *populations) : NeiDistancesBetween(app, *populations);
  if (!genetic) return std::nullopt;
  matrices.genetic = std::move(*genetic);
  matrices.geographic = GeographicDistances(centres, coordinates.kind, choices.logarithm);
  const SimilaritySettings& settings = ws.settings.similarity;
  matrices.geneticCaption =
      phiPT ? "pairwise PhiPT (" + SimilarityModeName(settings.amovaSimilarity, settings.coefficient, false) + " " +
                  CoefficientName(settings.coefficient) + ", " + TransformationName(settings.transformation) + ")"
            : "Nei's (1978) unbiased distance";
  return matrices;
}

std::string GeographicCaption(const MantelChoices& choices, CoordinateKind kind) {
  std::string caption = GeographicDistanceName(kind);
  if (choices.logarithm) caption = "ln(1 + " + caption + ")";
  return caption;
}

std::string PText(const MantelResult& result) {
  return result.permutations == 0 ? std::string("- (no permutations)") : FormatReal(result.p);
}

// The pairs' tab-separated copy.
void WritePairs(TextFileWriter& file, const MantelMatrices& matrices) {
  file.Line("First\tSecond\tGeographic\tGenetic");
  for (std::size_t i = 1, k = 0; i < matrices.names.size(); ++i) {
    for (std::size_t j = 0; j < i; ++j, ++k) {
      file.Line(matrices.names[j] + "\t" + matrices.names[i] + "\t" + FormatReal(matrices.geographic[k]) + "\t" +
                FormatReal(matrices.genetic[k]));
    }
  }
}

MantelPairs PlotPairs(const MantelMatrices& matrices, const MantelResult& result, const std::string& geographic) {
  MantelPairs pairs;
  pairs.geographic.assign(matrices.geographic.begin(), matrices.geographic.end());
  pairs.genetic.assign(matrices.genetic.begin(), matrices.genetic.end());
  pairs.xCaption = geographic;
  pairs.xCaption[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(pairs.xCaption[0])));
  pairs.yCaption = "Genetic distance: " + matrices.geneticCaption;
  pairs.title = "Mantel test of " + std::to_string(matrices.names.size()) + " " + matrices.objects + ": r= " +
                FormatFixed(result.r, 3) +
                (result.permutations > 0 ? ", p= " + FormatFixed(result.p, 3) + " (" +
                                               std::to_string(result.permutations) + " permutations)"
                                         : std::string());
  pairs.slope = static_cast<double>(result.slope);
  pairs.intercept = static_cast<double>(result.intercept);
  return pairs;
}

void MantelTest1Click(TMainPrg& app) {
  if (!RequireMatrix(app)) return;
  const auto choices = app.dialogs.mantelTest.Execute(app);
  if (!choices) return;
  const auto coordinates = ChosenCoordinates(app, choices->coordinatesFile);
  if (!coordinates) return;
  const auto matrices = choices->objects == MantelObjects::Individuals
                            ? IndividualMatrices(app, *coordinates, choices->logarithm)
                            : PopulationMatrices(app, *choices, *coordinates);
  if (!matrices) return;
  const std::string geographic = GeographicCaption(*choices, coordinates->kind);
  const std::size_t n = matrices->names.size();
  app.Report("Mantel Test: " + std::to_string(n) + " " + matrices->objects + " with " +
             std::to_string(choices->permutations) + " permutations");

  Workspace& ws = app.ws;
  CommandProgress progress(app.host, "Mantel Test", "Permutation", static_cast<std::size_t>(choices->permutations));
  std::size_t done = 0;
  const auto result =
      MantelTest(matrices->genetic, matrices->geographic, n, kGeneticName, kGeographicName, choices->permutations,
                 ws.random, [&](std::size_t count) { return progress.Advance(done = count); });
  if (!result && progress.Cancelled()) {
    app.Report("Cancelled: " + std::to_string(done) + " of " + std::to_string(choices->permutations) +
               " permutations done; nothing was written.");
    return;
  }
  if (!app.Check(result)) return;
  ws.mantel = PlotPairs(*matrices, *result, geographic);
  ws.mantel->dataFingerprint = Fingerprint(ws.data);

  const std::string counts = std::to_string(n) + " " + matrices->objects + ", " + Count(result->pairs, "pair", "pairs");
  const std::string summary = counts + "\r\nr= " + FormatReal(result->r) + "\r\np= " + PText(*result) + "\r\n";
  const auto answer =
      app.MessageQuery(summary + "\r\nWrite results to analysis file?", "Mantel Test", MessageButtons::YesNo);
  if (answer != MessageAnswer::Yes) return;
  const std::string source = CoordinatesSource(choices->coordinatesFile);
  const std::vector<std::string> heading = {
      "Mantel test (Mantel 1967): " + counts,
      "Genetic distance: " + matrices->geneticCaption + ".",
      "Geographic distance: " + geographic +
          (choices->objects == MantelObjects::Populations ? " between the centres of the populations" : "") +
          ", from " + source + "."};
  ResultTable table;
  table.rows = {{"Statistic", "Value"},
                {"r", FormatReal(result->r)},
                {"p", PText(*result)},
                {"Permutations", std::to_string(result->permutations)},
                {"Slope", FormatReal(result->slope)},
                {"Intercept", FormatReal(result->intercept)}};
  const std::vector<std::string> notes = {
      "r: Pearson's correlation over the pairs; p = (permuted r >= r, + 1) / (permutations + 1), the rows and",
      "columns of the genetic distances permuted together. Line: genetic = intercept + slope * geographic."};
  const MantelPairs& plotted = *ws.mantel;
  const ReportMethod method{
      "Genetic distances (" + matrices->geneticCaption + ") and geographic distances between the " +
          std::to_string(n) + " " + matrices->objects + " were compared by a Mantel test (Mantel 1967) with " +
          std::to_string(result->permutations) + " permutations.",
      {"mantel1967"},
      {ReportFigure{plotted.title + ". Genetic distance (" + matrices->geneticCaption + ") against " + geographic,
                    DrawnSvg(app, [&](PictureMaker& maker, const std::string& path) {
                      return maker.SaveMantel(plotted, 800, 640, path);
                    })}}};
  WriteTables(app, choices->pairsFile, [&](TextFileWriter& file) { WritePairs(file, *matrices); }, heading,
              {TableBlock{table, {}, notes}}, method);
}

}  // namespace

void RegisterMantelCommand(HandlerTable& table) { table["MantelTest1Click"] = Plain(MantelTest1Click); }

}  // namespace vorn
