#include "commands/dialogs/spatial_dialog.h"

#include "commands/dialogs/number_field.h"
#include "commands/dialogs/file_filters.h"
#include "core/number_input.h"

namespace vorn {
namespace {

constexpr NumberField kClassCount{"class_count", "Distance classes (even widths or even pairs)",
                                  "The number of distance classes", 1, double(kMaxDistanceClasses)};
constexpr NumberField kPermutations{"permutations", "Random permutations of the locations, 0 for none",
                                    "The number of permutations", 0, 99999};
constexpr NumberField kBootstraps{"bootstraps", "Bootstrap resamplings of the pairs in each class, 0 for none",
                                  "The number of bootstraps", 0, 99999};

// The bounds typed as numbers separated by blanks, commas or semicolons; nothing after a box
// naming the first text that is not a number.
std::optional<std::vector<Real>> ReadBounds(Session& session, const std::string& text) {
  std::vector<Real> bounds;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find_first_of(" \t,;", start);
    const std::string word = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
    start = end == std::string::npos ? text.size() : end + 1;
    if (word.empty()) continue;
    const auto value = ParseReal(word);
    if (!value) {
      session.ErrorBox("The upper bounds of the distance classes (bounds) must be numbers separated by blanks; \"" +
                       word + "\" is not a number.");
      return std::nullopt;
    }
    bounds.push_back(*value);
  }
  return bounds;
}

}  // namespace

SpatialAutocorrelationDialog::SpatialAutocorrelationDialog() : ModalDialog("Spatial Autocorrelation") {
  const SpatialChoices defaults;
  form.Add(RadioGroupControl("genetic", "Genetic distances",
                             {"Squared Euclidean distances of the bands (loci scored in both)",
                              "The active matrix, its distances under the current transformation taken as squared"},
                             {"bands", "active"}));
  form.Add(PathFieldControl("coordinates_file",
                            "Coordinates file, CSV name,x,y or name,latitude,longitude (empty: those imported with the data)",
                            PathKind::Open, kCsvFilter));
  form.Add(RadioGroupControl("classes", "Distance classes",
                             {"Even widths from 0 to the largest distance", "Even numbers of pairs",
                              "Upper bounds given below"},
                             {"even_widths", "even_pairs", "bounds"}));
  form.Add(Field(kClassCount, double(defaults.classes.count)));
  form.Add(TextFieldControl("bounds", "Upper bounds of the classes, rising, separated by blanks"));
  form.Add(Field(kPermutations, defaults.permutations));
  form.Add(Field(kBootstraps, defaults.bootstraps));
  form.Add(PathFieldControl("table_file", "Tab-separated copy of the table (empty: none)", PathKind::Save, kTextFilter));
}

std::optional<SpatialChoices> SpatialAutocorrelationDialog::Execute(Session& session) {
  return ShowUntilRead<SpatialChoices>(*this, session.host, [&]() -> std::optional<SpatialChoices> {
    SpatialChoices choices;
    choices.genetic = form["genetic"].selected == 1 ? SpatialGenetic::ActiveMatrix : SpatialGenetic::Bands;
    choices.coordinatesFile = form["coordinates_file"].text;
    const int rule = form["classes"].selected;
    choices.classes.rule = rule == 2 ? ClassRule::Bounds : rule == 1 ? ClassRule::EvenPairs : ClassRule::EvenWidths;
    const auto count = Number(session, form, kClassCount);
    if (!count) return std::nullopt;
    choices.classes.count = *count;
    if (choices.classes.rule == ClassRule::Bounds) {
      auto bounds = ReadBounds(session, form["bounds"].text);
      if (!bounds) return std::nullopt;
      choices.classes.bounds = std::move(*bounds);
    }
    const auto permutations = Number(session, form, kPermutations);
    if (!permutations) return std::nullopt;
    const auto bootstraps = Number(session, form, kBootstraps);
    if (!bootstraps) return std::nullopt;
    choices.permutations = static_cast<std::int32_t>(*permutations);
    choices.bootstraps = static_cast<std::int32_t>(*bootstraps);
    choices.tableFile = form["table_file"].text;
    return choices;
  });
}

}  // namespace vorn
