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

void AddLevelAndFile(DialogForm& form) {
  form.Add(Field("level", "Populations: the groups of level (1 = below AllData)", "1"));
  form.Add(Field("table_file", "Tab-separated copy of the tables (empty: none)", ""));
}

}  // namespace

PopulationDiversityDialog::PopulationDiversityDialog() : ModalDialog("Population Diversity") {
  AddLevelAndFile(form);
  form.Add(Field("lm_absences", "Lynch & Milligan: use loci with more band absences than (0 to 65535)",
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
  form.Add(Field("permutations", "Random permutations for each pair (1 to 1000000)", "999"));
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

}  // namespace vorn
