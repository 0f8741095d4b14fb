// Analysis > Spatial Autocorrelation: Smouse & Peakall's r of the working individuals in classes
// of geographic distance, with its permutation test, null band, bootstrap interval and omega.
// Shows a summary, on Yes appends the result block to the analysis file with the table copied to
// the file the dialog names, and keeps the correlogram for View > Save Correlogram and the
// window's Correlogram tab.
#include <cctype>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "commands/similarity/active_distances.h"
#include "commands/population/chosen_coordinates.h"
#include "commands/population/corrected_p_columns.h"
#include "commands/shell/data_guard.h"
#include "commands/population/population_support.h"
#include "commands/report/report_steps.h"
#include "core/command_progress.h"
#include "core/number_format.h"
#include "population/geographic_distance.h"
#include "similarity/coefficient_names.h"
#include "similarity/similarity_matrix.h"
#include "spatial/spatial_autocorrelation.h"

namespace vorn {
namespace {

constexpr Real kSignificance = 0.05L;

struct GeneticPairs {
  std::vector<Real> squared;
  std::string caption;  // "squared Euclidean distance of the bands (loci scored in both)"
};

// The squared Euclidean distances of the working bands, over the loci scored in both of a pair;
// refused when a pair has no such locus.
std::optional<GeneticPairs> BandDistances(TMainPrg& app) {
  const Workspace& ws = app.ws;
  auto fill = BuildSimilarityMatrix(PackedScores(ws.data), SimilarityMode::Standard, SimilarityCoefficient::SqEuclidean, 0);
  if (!app.Check(fill)) return std::nullopt;
  if (const UndefinedPairs undefined = FindUndefinedPairs(fill->matrix, fill->marks); undefined.Any()) {
    app.ErrorBox(UndefinedPairsRefusal(undefined, ws.data.individualLabels, "r cannot be computed"));
    return std::nullopt;
  }
  GeneticPairs pairs{{}, "squared Euclidean distance of the bands (loci scored in both)"};
  pairs.squared.reserve(TriangleSize(ws.data.individualCount));
  for (std::size_t i = 1; i < ws.data.individualCount; ++i) {
    for (std::size_t j = 0; j < i; ++j) pairs.squared.push_back(fill->matrix(i, j));
  }
  return pairs;
}

std::optional<GeneticPairs> ChosenGenetic(TMainPrg& app, SpatialGenetic genetic) {
  if (genetic == SpatialGenetic::Bands) return BandDistances(app);
  auto active = ActiveDistancePairs(app, "r cannot be computed");
  if (!active) return std::nullopt;
  return GeneticPairs{std::move(*active), app.ws.results.activeName + ", " +
                                              TransformationName(app.ws.settings.similarity.transformation) +
                                              ", taken as squared distances"};
}

std::string RuleText(ClassRule rule) {
  switch (rule) {
    case ClassRule::EvenWidths: return "of even width";
    case ClassRule::EvenPairs: return "of even pair counts";
    case ClassRule::Bounds: return "with the bounds given";
  }
  return "";
}

// An optional value as the table shows it: "undefined" for no value where one was computed,
// "-" where none was asked for.
std::string Shown(const std::optional<Real>& value, bool computed) {
  if (!computed) return "-";
  return value ? FormatReal(*value) : std::string("undefined");
}

ResultTable ClassTable(const DistanceClasses& classes, const SpatialAutocorrelation& result) {
  ResultTable table;
  table.rows.push_back({"Class", "From", "To", "Pairs", "Mean distance", "r", "p", "Null 2.5%", "Null 97.5%",
                        "Boot 2.5%", "Boot 97.5%"});
  const bool permuted = result.permutations > 0, bootstrapped = result.bootstraps > 0;
  for (std::size_t h = 0; h < classes.Count(); ++h) {
    const ClassAutocorrelation& c = result.classes[h];
    table.rows.push_back({std::to_string(h + 1), FormatReal(h == 0 ? 0 : classes.upper[h - 1]),
                          FormatReal(classes.upper[h]), std::to_string(classes.pairs[h]),
                          FormatReal(classes.meanDistance[h]), Shown(c.r, true), Shown(c.p, permuted),
                          Shown(c.nullLow, permuted), Shown(c.nullHigh, permuted), Shown(c.bootLow, bootstrapped),
                          Shown(c.bootHigh, bootstrapped)});
  }
  return table;
}

std::string OmegaText(const SpatialAutocorrelation& result) {
  if (result.permutations == 0) return "omega: - (no permutations)";
  if (!result.omega) return "omega: undefined (r is undefined in a class)";
  return "omega= " + FormatReal(*result.omega) + ", p(omega)= " + FormatReal(*result.pOmega);
}

Correlogram PictureOf(const DistanceClasses& classes, const SpatialAutocorrelation& result, std::size_t n,
                      CoordinateKind kind) {
  Correlogram picture;
  const auto shown = [](const std::optional<Real>& v) { return v ? std::optional<double>(double(*v)) : std::nullopt; };
  for (std::size_t h = 0; h < classes.Count(); ++h) {
    const ClassAutocorrelation& c = result.classes[h];
    picture.classes.push_back({double(classes.meanDistance[h]), shown(c.r), shown(c.nullLow), shown(c.nullHigh),
                               shown(c.bootLow), shown(c.bootHigh), c.p && *c.p <= kSignificance});
  }
  picture.title = "Spatial autocorrelation of " + std::to_string(n) + " individuals";
  if (result.omega) picture.title += ": omega= " + FormatFixed(*result.omega, 1) + ", p= " + FormatFixed(*result.pOmega, 3);
  picture.xCaption = GeographicDistanceName(kind) + " (class mean)";
  picture.xCaption[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(picture.xCaption[0])));
  return picture;
}

void SpatialAutocorrelation1Click(TMainPrg& app) {
  if (!RequireMatrix(app)) return;
  const auto choices = app.dialogs.spatialAutocorrelation.Execute(app);
  if (!choices) return;
  const auto coordinates = ChosenCoordinates(app, choices->coordinatesFile);
  if (!coordinates) return;
  const auto geographic = IndividualGeographicDistances(app, *coordinates, false);
  if (!geographic) return;
  const auto classes = MakeDistanceClasses(*geographic, choices->classes);
  if (!app.Check(classes)) return;
  const auto genetic = ChosenGenetic(app, choices->genetic);
  if (!genetic) return;

  Workspace& ws = app.ws;
  const std::size_t n = ws.data.individualCount;
  const std::string counts = std::to_string(n) + " individuals, " +
                             Count(classes->Count(), "distance class", "distance classes") + " " +
                             RuleText(choices->classes.rule);
  app.Report("Spatial Autocorrelation: " + std::to_string(n) + " individuals in " +
             Count(classes->Count(), "distance class", "distance classes") + " with " +
             std::to_string(choices->permutations) + " permutations and " + std::to_string(choices->bootstraps) +
             " bootstraps");
  const auto permutations = static_cast<std::size_t>(choices->permutations);
  const auto bootstraps = static_cast<std::size_t>(choices->bootstraps);
  CommandProgress progress(app.host, "Spatial Autocorrelation", "", permutations + bootstraps);
  std::size_t done = 0;
  const auto result = AnalyseSpatialAutocorrelation(
      genetic->squared, n, *classes, choices->permutations, choices->bootstraps, ws.random, [&](std::size_t count) {
        done = count;
        const std::string step = count < permutations || bootstraps == 0
                                     ? "Permutation " + std::to_string(std::min(count + 1, permutations)) + " of " +
                                           std::to_string(permutations)
                                     : "Bootstrap " + std::to_string(std::min(count - permutations + 1, bootstraps)) +
                                           " of " + std::to_string(bootstraps);
        return progress.Show(count, step);
      });
  if (!result && progress.Cancelled()) {
    app.Report("Cancelled: " + std::to_string(done) + " of " + std::to_string(permutations + bootstraps) +
               " permutations and bootstraps done; nothing was written.");
    return;
  }
  if (!app.Check(result)) return;
  ws.correlogram = PictureOf(*classes, *result, n, coordinates->kind);
  ws.correlogram->dataFingerprint = Fingerprint(ws.data);

  std::size_t pairs = 0;
  for (std::size_t count : classes->pairs) pairs += count;
  const ClassAutocorrelation& first = result->classes.front();
  const std::string summary = counts + ", " + Count(pairs, "pair", "pairs") + "\r\nr of class 1= " +
                              Shown(first.r, true) + ", p= " + Shown(first.p, result->permutations > 0) + "\r\n" +
                              OmegaText(*result) + "\r\n";
  const auto answer = app.MessageQuery(summary + "\r\nWrite results to analysis file?", "Spatial Autocorrelation",
                                       MessageButtons::YesNo);
  if (answer != MessageAnswer::Yes) return;
  std::vector<std::string> heading = {
      "Spatial autocorrelation (Smouse & Peakall 1999): " + counts + ", " + Count(pairs, "pair", "pairs"),
      "Genetic distance: " + genetic->caption + ".",
      "Geographic distance: " + GeographicDistanceName(coordinates->kind) + ", from " +
          CoordinatesSource(choices->coordinatesFile) + "."};
  if (classes->leftOut > 0) {
    heading.push_back(Count(classes->leftOut, "pair lies", "pairs lie") + " beyond the last bound and belong to no class.");
  }
  ResultTable table = ClassTable(*classes, *result);
  std::vector<std::string> notes = {
      "r = 2 sum c_ij / sum (c_ii + c_jj) over the pairs of the class, c the double-centred squared genetic distances.",
      "p: one-tailed in the direction of r, (permuted r as far out + 1) / (permutations + 1), " +
          std::to_string(result->permutations) + " permutations of",
      "the individuals' locations; Null: percentiles 2.5 and 97.5 of the permuted r; Boot: those of r over the",
      "class's pairs resampled with replacement, " + std::to_string(result->bootstraps) + " bootstraps.",
      OmegaText(*result) + (result->omega ? " (-2 sum ln p over the classes, against the same permutations)" : "")};
  if (result->permutations > 0) {
    // The classes' p-values as one family; a class without r has no p and stays out of it.
    std::vector<Real> p;
    for (const ClassAutocorrelation& c : result->classes) p.push_back(c.p ? *c.p : std::numeric_limits<Real>::quiet_NaN());
    notes.push_back(AppendCorrectedPColumns(table, p));
  }
  const Correlogram& drawn = *ws.correlogram;
  const ReportMethod method{
      "Spatial genetic autocorrelation (Smouse & Peakall 1999) of the " + std::to_string(n) + " individuals over " +
          Count(classes->Count(), "distance class", "distance classes") + " " + RuleText(choices->classes.rule) +
          " used the genetic distances (" +
          genetic->caption + ") and was tested with " + std::to_string(result->permutations) +
          " permutations of the individuals' locations and " + std::to_string(result->bootstraps) +
          " bootstraps of each class's pairs.",
      {"smouse1999"},
      {ReportFigure{"Correlogram of " + Count(result->classes.size(), "distance class", "distance classes") + ", " +
                        genetic->caption,
                    DrawnSvg(app, [&](PictureMaker& maker, const std::string& path) {
                      return maker.SaveCorrelogram(drawn, 800, 640, path);
                    })}}};
  WriteTables(app, choices->tableFile, heading, {TableBlock{table, table, notes}}, method);
}

}  // namespace

void RegisterSpatialCommand(HandlerTable& table) {
  table["SpatialAutocorrelation1Click"] = Plain(SpatialAutocorrelation1Click);
}

}  // namespace vorn
