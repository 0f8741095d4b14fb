#include "commands/dialogs/structure_dialog.h"

#include <cmath>

#include "core/number_format.h"
#include "core/number_input.h"

namespace vorn {
namespace {

Control Field(std::string key, std::string caption, std::string text) {
  Control field = TextFieldControl(std::move(key), std::move(caption));
  field.text = std::move(text);
  return field;
}

// The field's number within [low, high] (whole when asked); nothing otherwise.
std::optional<double> Number(const DialogForm& form, std::string_view key, double low, double high, bool whole) {
  const auto value = ParseReal(form[key].text);
  if (!value || *value < low || *value > high || (whole && *value != std::floor(*value))) return std::nullopt;
  return static_cast<double>(*value);
}

}  // namespace

StructureDialog::StructureDialog() : ModalDialog("Population Structure") {
  form.Add(Field("min_k", "Smallest K (1 to 100)", "1"));
  form.Add(Field("max_k", "Largest K (1 to 100, at most the individuals)", "6"));
  form.Add(Field("runs", "Runs per K from random starts (1 to 1000)", "10"));
  form.Add(Field("folds", "Cross-validation folds (0 for none, 2 to 100)", "5"));
  form.Add(Field("tolerance", "Converged when a cycle gains less log-likelihood than", "0.0001"));
  form.Add(RadioGroupControl("model", "Band model",
                             {"Diploid, dominant bands", "Haploid, or bands read as alleles"},
                             {"diploid", "haploid"}));
  form.Add(Field("reported_k", "K reported (0: the dK choice, or the cross-validation choice where dK is undefined)",
                 "0"));
  form.Add(Field("level", "Populations: the groups of level (1 = below AllData)", "1"));
  form.Add(Field("q_files", "Q files, one per K named <name>_K<K>.tsv (empty: none)", ""));
  form.Add(CheckBoxControl("frequencies", "With the best run's cluster band-allele frequencies and Q"));
  form.Add(CheckBoxControl("make_groups", "Make groups from clusters"));
  form.Add(Field("threshold", "Groups from clusters: an individual joins its largest cluster at q of (0.5 to 1)",
                 FormatShortest(0.7)));
}

std::optional<StructureChoices> StructureDialog::Execute(Session& session) {
  if (!ShowModal(session.host)) return std::nullopt;
  const auto minK = Number(form, "min_k", 0, 100, true);
  const auto maxK = Number(form, "max_k", 0, 100, true);
  const auto runs = Number(form, "runs", 0, 1000, true);
  const auto folds = Number(form, "folds", 0, 100, true);
  const auto tolerance = Number(form, "tolerance", 1e-12, 1e6, false);
  const auto reportedK = Number(form, "reported_k", 0, 100, true);
  const auto level = Number(form, "level", 1, 1000, true);
  const auto threshold = Number(form, "threshold", 0.5, 1, false);
  if (!minK || !maxK || !runs || !folds || !tolerance || !reportedK || !level || !threshold) {
    session.ErrorBox(kInvalidInput);
    return std::nullopt;
  }
  StructureChoices choices;
  StructureSettings& settings = choices.settings;
  settings.minClusters = static_cast<std::size_t>(*minK);
  settings.maxClusters = static_cast<std::size_t>(*maxK);
  settings.runs = static_cast<std::size_t>(*runs);
  settings.folds = static_cast<std::size_t>(*folds);
  settings.fit.tolerance = *tolerance;
  settings.fit.model = form["model"].selected == 1 ? BandModel::Haploid : BandModel::DiploidDominant;
  choices.reportedK = static_cast<std::size_t>(*reportedK);
  choices.level = static_cast<std::size_t>(*level);
  choices.qFiles = form["q_files"].text;
  choices.frequencies = form["frequencies"].checked;
  choices.makeGroups = form["make_groups"].checked;
  choices.threshold = *threshold;
  return choices;
}

}  // namespace vorn
