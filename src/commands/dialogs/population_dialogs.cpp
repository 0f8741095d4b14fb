#include "commands/dialogs/population_dialogs.h"

#include "commands/dialogs/number_field.h"
#include "commands/dialogs/file_filters.h"

namespace vorn {
namespace {

constexpr NumberField kLevel{"level", "Populations: the groups of level, 1 = below AllData", "The group level", 1, 1000};
constexpr NumberField kAbsences{"lm_absences", "Lynch && Milligan: use loci with more band absences than",
                                "Lynch & Milligan's absence threshold", 0, 65535, false};
constexpr NumberField kPairPermutations{"permutations", "Random permutations for each pair",
                                        "The number of permutations", 1, 1000000};
constexpr NumberField kMantelPermutations{"permutations", "Random permutations, 0 for none",
                                          "The number of permutations", 0, 1000000};
constexpr NumberField kSimulations{"simulations", "Simulated profiles per individual and population for p, 0 for none",
                                   "The number of simulated profiles", 0, 100000};

void AddLevelAndFile(DialogForm& form) {
  form.Add(Field(kLevel, 1));
  form.Add(PathFieldControl("table_file", "Tab-separated copy of the tables (empty: none)", PathKind::Save, kTextFilter));
}

}  // namespace

PopulationDiversityDialog::PopulationDiversityDialog() : ModalDialog("Population Diversity") {
  AddLevelAndFile(form);
  form.Add(Field(kAbsences, 3));
}

std::optional<DiversityChoices> PopulationDiversityDialog::Execute(Session& session) {
  return ShowUntilRead<DiversityChoices>(*this, session.host, [&]() -> std::optional<DiversityChoices> {
    const auto level = Number(session, form, kLevel);
    if (!level) return std::nullopt;
    const auto absences = RealNumber(session, form, kAbsences);
    if (!absences) return std::nullopt;
    return DiversityChoices{*level, *absences, form["table_file"].text};
  });
}

PairwisePhiPTDialog::PairwisePhiPTDialog() : ModalDialog("Pairwise PhiPT") {
  AddLevelAndFile(form);
  form.Add(Field(kPairPermutations, 999));
}

std::optional<PairwiseChoices> PairwisePhiPTDialog::Execute(Session& session) {
  return ShowUntilRead<PairwiseChoices>(*this, session.host, [&]() -> std::optional<PairwiseChoices> {
    const auto level = Number(session, form, kLevel);
    if (!level) return std::nullopt;
    const auto permutations = Number(session, form, kPairPermutations);
    if (!permutations) return std::nullopt;
    return PairwiseChoices{*level, static_cast<std::int32_t>(*permutations), form["table_file"].text};
  });
}

MantelTestDialog::MantelTestDialog() : ModalDialog("Mantel Test") {
  form.Add(RadioGroupControl("matrices", "Distances compared with the geographic ones",
                             {"Individuals: the active matrix (distances under the current transformation)",
                              "Populations of a level: distances between their centres"},
                             {"individuals", "populations"}));
  form.Add(Field(kLevel, 1));
  form.Add(RadioGroupControl("genetic", "Genetic distance between populations",
                             {"Pairwise PhiPT", "Nei's unbiased distance"}, {"phipt", "nei"}));
  form.Add(PathFieldControl("coordinates_file",
                     "Coordinates file, CSV name,x,y or name,latitude,longitude (empty: those imported with the data)",
                     PathKind::Open, kCsvFilter));
  form.Add(CheckBoxControl("log_distance", "Geographic distance as ln(1 + d)"));
  form.Add(Field(kMantelPermutations, 999));
  form.Add(PathFieldControl("pairs_file", "Tab-separated copy of the pairs (empty: none)", PathKind::Save, kTextFilter));
}

std::optional<MantelChoices> MantelTestDialog::Execute(Session& session) {
  return ShowUntilRead<MantelChoices>(*this, session.host, [&]() -> std::optional<MantelChoices> {
    const auto level = Number(session, form, kLevel);
    if (!level) return std::nullopt;
    const auto permutations = Number(session, form, kMantelPermutations);
    if (!permutations) return std::nullopt;
    MantelChoices choices;
    choices.objects = form["matrices"].selected == 1 ? MantelObjects::Populations : MantelObjects::Individuals;
    choices.level = *level;
    choices.distance = form["genetic"].selected == 1 ? PopulationDistance::Nei : PopulationDistance::PhiPT;
    choices.coordinatesFile = form["coordinates_file"].text;
    choices.logarithm = form["log_distance"].checked;
    choices.permutations = static_cast<std::int32_t>(*permutations);
    choices.pairsFile = form["pairs_file"].text;
    return choices;
  });
}

AssignmentTestDialog::AssignmentTestDialog() : ModalDialog("Assignment Test") {
  AddLevelAndFile(form);
  form.Add(TextFieldControl("assign_only", "Group assigned only, not used as reference (empty: none)"));
  form.Add(Field(kSimulations, 0));
}

std::optional<AssignmentChoices> AssignmentTestDialog::Execute(Session& session) {
  return ShowUntilRead<AssignmentChoices>(*this, session.host, [&]() -> std::optional<AssignmentChoices> {
    const auto level = Number(session, form, kLevel);
    if (!level) return std::nullopt;
    const auto simulations = Number(session, form, kSimulations);
    if (!simulations) return std::nullopt;
    return AssignmentChoices{*level, form["assign_only"].text, static_cast<std::int32_t>(*simulations),
                             form["table_file"].text};
  });
}

}  // namespace vorn
