#include "commands/dialogs/differentiation_dialogs.h"

#include "commands/dialogs/number_field.h"
#include "commands/dialogs/file_filters.h"

namespace vorn {
namespace {

constexpr NumberField kLevel{"level", "Populations: the groups of level, 1 = below AllData", "The group level", 1, 1000};
constexpr NumberField kInbreeding{"fis", "F_IS, 0 for Hardy-Weinberg proportions", "F_IS", 0, 0.99, false};
constexpr NumberField kAbsences{"lm_absences", "Lynch && Milligan: use loci with more band absences than",
                                "Lynch & Milligan's absence threshold", 0, 65535, false};
constexpr NumberField kPermutations{"permutations", "Random permutations, 0 for none", "The number of permutations", 0,
                                    1000000};
constexpr NumberField kReplicates{"replicates", "Subsamples for DW rarefied to the smallest population, 0 for none",
                                  "The number of subsamples", 0, 1000000};

void AddLevelAndFile(DialogForm& form) {
  form.Add(Field(kLevel, 1));
  form.Add(PathFieldControl("table_file", "Tab-separated copy of the tables (empty: none)", PathKind::Save, kTextFilter));
}

}  // namespace

BandFstDialog::BandFstDialog() : ModalDialog("F_ST from Band Frequencies") {
  AddLevelAndFile(form);
  form.Add(RadioGroupControl("method", "Null-allele frequency",
                             {"Square root of the band-absent share", "Lynch && Milligan's bias-corrected root",
                              "Bayesian (Zhivotovsky)"},
                             {"square_root", "lynch_milligan", "bayesian"}));
  form["method"].selected = 2;
  form.Add(RadioGroupControl("prior", "Prior of the Bayesian method",
                             {"Non-uniform, estimated from the data", "Uniform"}, {"estimated", "uniform"}));
  form.Add(Field(kInbreeding, 0));
  form.Add(Field(kAbsences, 3));
  form.Add(Field(kPermutations, 999));
}

std::optional<BandFstChoices> BandFstDialog::Execute(Session& session) {
  while (ShowModal(session.host)) {
    const auto level = Number(session, form, kLevel);
    if (!level) continue;
    const auto inbreeding = RealNumber(session, form, kInbreeding);
    if (!inbreeding) continue;
    const auto absences = RealNumber(session, form, kAbsences);
    if (!absences) continue;
    const auto permutations = Number(session, form, kPermutations);
    if (!permutations) continue;
    BandFstChoices choices;
    choices.level = *level;
    choices.estimator.method = static_cast<NullAlleleMethod>(form["method"].selected);
    choices.estimator.uniformPrior = form["prior"].selected == 1;
    choices.estimator.inbreeding = *inbreeding;
    choices.estimator.absences = *absences;
    choices.permutations = static_cast<std::int32_t>(*permutations);
    choices.tableFile = form["table_file"].text;
    if (choices.estimator.inbreeding != 0 && choices.estimator.method != NullAlleleMethod::SquareRoot) {
      session.ErrorBox("F_IS (fis) other than 0 needs the square-root estimator: Lynch & Milligan's and "
                       "Zhivotovsky's estimators assume Hardy-Weinberg proportions.");
      continue;
    }
    return choices;
  }
  return std::nullopt;
}

BandRarityDialog::BandRarityDialog() : ModalDialog("Band Rarity and Richness") {
  AddLevelAndFile(form);
  form.Add(Field(kReplicates, 0));
}

std::optional<BandRarityChoices> BandRarityDialog::Execute(Session& session) {
  while (ShowModal(session.host)) {
    const auto level = Number(session, form, kLevel);
    if (!level) continue;
    const auto replicates = Number(session, form, kReplicates);
    if (!replicates) continue;
    return BandRarityChoices{*level, static_cast<std::int32_t>(*replicates), form["table_file"].text};
  }
  return std::nullopt;
}

}  // namespace vorn
