#include "commands/population_dialogs.h"

#include <cmath>

#include "core/number_format.h"
#include "core/number_input.h"

namespace vorn {
namespace {

constexpr std::int32_t kMaxPermutations = 1000000;

Control Field(std::string key, std::string caption, std::string text) {
  Control field = TextFieldControl(std::move(key), std::move(caption));
  field.text = std::move(text);
  return field;
}

// The field's number within [low, high] (whole when asked); nothing otherwise.
std::optional<Real> Number(const DialogForm& form, std::string_view key, Real low, Real high, bool whole) {
  const auto value = ParseReal(form[key].text);
  if (!value || *value < low || *value > high || (whole && *value != std::floor(*value))) return std::nullopt;
  return value;
}

Control LevelField() { return Field("level", "Populations: the groups of level (1 = below AllData)", "1"); }

Control PermutationsField(const std::string& caption, std::int32_t low) {
  return Field("permutations", caption + " (" + std::to_string(low) + " to " + std::to_string(kMaxPermutations) + ")",
               "999");
}

void AddLevelAndFile(DialogForm& form) {
  form.Add(LevelField());
  form.Add(Field("table_file", "Tab-separated copy of the tables (empty: none)", ""));
}

}  // namespace

PopulationDiversityDialog::PopulationDiversityDialog() : ModalDialog("Population Diversity") {
  AddLevelAndFile(form);
  form.Add(Field("lm_absences", "Lynch && Milligan: use loci with more band absences than (0 to 65535)",
                 FormatShortest(3)));
}

std::optional<DiversityChoices> PopulationDiversityDialog::Execute(Session& session) {
  if (!ShowModal(session.host)) return std::nullopt;
  const auto level = Number(form, "level", 1, 1000, true);
  const auto absences = Number(form, "lm_absences", 0, 65535, false);
  if (!level || !absences) {
    session.ErrorBox(kInvalidInput);
    return std::nullopt;
  }
  return DiversityChoices{static_cast<std::size_t>(*level), *absences, form["table_file"].text};
}

PairwisePhiPTDialog::PairwisePhiPTDialog() : ModalDialog("Pairwise PhiPT") {
  AddLevelAndFile(form);
  form.Add(PermutationsField("Random permutations for each pair", 1));
}

std::optional<PairwiseChoices> PairwisePhiPTDialog::Execute(Session& session) {
  if (!ShowModal(session.host)) return std::nullopt;
  const auto level = Number(form, "level", 1, 1000, true);
  const auto permutations = Number(form, "permutations", 1, kMaxPermutations, true);
  if (!level || !permutations) {
    session.ErrorBox(kInvalidInput);
    return std::nullopt;
  }
  return PairwiseChoices{static_cast<std::size_t>(*level), static_cast<std::int32_t>(*permutations),
                         form["table_file"].text};
}

MantelTestDialog::MantelTestDialog() : ModalDialog("Mantel Test") {
  form.Add(RadioGroupControl("matrices", "Distances compared with the geographic ones",
                             {"Individuals: the active matrix (distances under the current transformation)",
                              "Populations of a level: distances between their centres"},
                             {"individuals", "populations"}));
  form.Add(LevelField());
  form.Add(RadioGroupControl("genetic", "Genetic distance between populations",
                             {"Pairwise PhiPT", "Nei's unbiased distance"}, {"phipt", "nei"}));
  form.Add(Field("coordinates_file",
                 "Coordinates file, CSV name,x,y or name,latitude,longitude (empty: those imported with the data)", ""));
  form.Add(CheckBoxControl("log_distance", "Geographic distance as ln(1 + d)"));
  form.Add(PermutationsField("Random permutations, 0 for none", 0));
  form.Add(Field("pairs_file", "Tab-separated copy of the pairs (empty: none)", ""));
}

std::optional<MantelChoices> MantelTestDialog::Execute(Session& session) {
  if (!ShowModal(session.host)) return std::nullopt;
  const auto level = Number(form, "level", 1, 1000, true);
  const auto permutations = Number(form, "permutations", 0, kMaxPermutations, true);
  if (!level || !permutations) {
    session.ErrorBox(kInvalidInput);
    return std::nullopt;
  }
  MantelChoices choices;
  choices.objects = form["matrices"].selected == 1 ? MantelObjects::Populations : MantelObjects::Individuals;
  choices.level = static_cast<std::size_t>(*level);
  choices.distance = form["genetic"].selected == 1 ? PopulationDistance::Nei : PopulationDistance::PhiPT;
  choices.coordinatesFile = form["coordinates_file"].text;
  choices.logarithm = form["log_distance"].checked;
  choices.permutations = static_cast<std::int32_t>(*permutations);
  choices.pairsFile = form["pairs_file"].text;
  return choices;
}

}  // namespace vorn
