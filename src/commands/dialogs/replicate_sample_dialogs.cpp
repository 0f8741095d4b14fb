#include "commands/dialogs/replicate_sample_dialogs.h"

#include "commands/dialogs/number_field.h"
#include "commands/dialogs/file_filters.h"

namespace vorn {
namespace {

constexpr NumberField kLevel{"level", "Replicate groups: the groups of level, 1 = below AllData", "The group level", 1,
                             1000};
constexpr NumberField kErrorPercent{"percent", "Remove loci with an error rate above, in percent",
                                    "The error rate threshold", 0, 100, false};
constexpr NumberField kLeastPairs{"least_pairs", "Remove loci scored in fewer replicate pairs than, 0 for none",
                                  "The least number of pairs", 0, 65535};

// The samples listed in the dialog: enough to check a declaration, not all of a large study.
constexpr std::size_t kListedSamples = 12;

}  // namespace

ReplicateSamplesDialog::ReplicateSamplesDialog(std::string caption) : ModalDialog(std::move(caption)) {
  form.Add(RadioGroupControl("replicates", "Replicate samples",
                             {"By name: individuals whose names differ only by a replicate suffix",
                              "By groups: each group of a level holds the replicates of one sample"},
                             {"names", "groups"}));
  form.Add(TextFieldControl("suffix", "Replicate suffix: a regular expression at the end of a name, letter case ignored"))
      .text = kDefaultReplicateSuffix;
  form.Add(Field(kLevel, 1));
  form.Add(LabelControl("found", "")).fixedPitch = true;
}

Result<std::vector<ReplicateSample>> ReplicateSamplesDialog::Declared(Session& session, bool quiet) {
  const LabelTable& labels = session.ws.data.individualLabels;
  if (form["replicates"].selected == 0) return ReplicatesByName(labels, form["suffix"].text);
  const auto level = quiet ? FieldValue(form, kLevel) : RealNumber(session, form, kLevel);
  if (!level) return Failure{quiet ? "The group level must be a whole number from " + Range(kLevel) + "." : ""};
  return ReplicatesByGroups(labels, session.ws.groups.groups, static_cast<std::size_t>(*level));
}

void ReplicateSamplesDialog::UpdateFound(Session& session) {
  const auto samples = Declared(session, true);
  std::string text;
  if (!samples) {
    text = samples.error();
  } else {
    const auto pairs = PairsOf(*samples);
    text = std::to_string(samples->size()) + " samples, " + std::to_string(pairs.size()) + " pairs";
    const auto lines = SampleLines(*samples, session.ws.data.individualLabels);
    for (std::size_t k = 0; k < lines.size() && k < kListedSamples; ++k) text += "\n" + lines[k];
    if (lines.size() > kListedSamples) text += "\n...";
  }
  form["found"].caption = LiteralCaption(text);
}

template <typename ReadRest>
std::optional<std::vector<ReplicateSample>> ReplicateSamplesDialog::ShowUntilRead(Session& session,
                                                                                  const ReadRest& readRest) {
  form.edited = [this, &session](DialogForm&) { UpdateFound(session); };
  UpdateFound(session);
  std::optional<std::vector<ReplicateSample>> chosen;
  while (ShowModal(session.host)) {
    auto samples = Declared(session, false);
    if (!samples) {
      if (!samples.error().empty()) session.ErrorBox(samples.error());
      continue;
    }
    if (samples->empty()) {
      session.ErrorBox("No replicate samples found: no two individuals are declared replicates of one sample.");
      continue;
    }
    if (!readRest()) continue;
    chosen = std::move(*samples);
    break;
  }
  form.edited = nullptr;
  return chosen;
}

ReplicateErrorRatesDialog::ReplicateErrorRatesDialog() : ReplicateSamplesDialog("Replicate Error Rates") {
  form.Add(PathFieldControl("table_file", "Tab-separated copy of the tables (empty: none)", PathKind::Save, kTextFilter));
}

std::optional<ErrorRateChoices> ReplicateErrorRatesDialog::Execute(Session& session) {
  auto samples = ShowUntilRead(session, [] { return true; });
  if (!samples) return std::nullopt;
  return ErrorRateChoices{std::move(*samples), form["table_file"].text};
}

ErrorRateRemovalDialog::ErrorRateRemovalDialog() : ReplicateSamplesDialog("Remove Loci by Error Rate") {
  form.Add(Field(kErrorPercent, 5));
  form.Add(Field(kLeastPairs, 0));
}

std::optional<ErrorRateRemovalChoices> ErrorRateRemovalDialog::Execute(Session& session) {
  ErrorRateRemovalChoices choices;
  auto samples = ShowUntilRead(session, [&] {
    const auto percent = RealNumber(session, form, kErrorPercent);
    if (!percent) return false;
    const auto least = Number(session, form, kLeastPairs);
    if (!least) return false;
    choices.threshold = static_cast<double>(*percent) / 100.0;
    choices.leastPairs = *least;
    return true;
  });
  if (!samples) return std::nullopt;
  choices.samples = std::move(*samples);
  return choices;
}

MergeReplicatesDialog::MergeReplicatesDialog() : ReplicateSamplesDialog("Merge Replicates") {
  form.Add(RadioGroupControl("disagreement", "Where the scored replicates disagree",
                             {"Missing score", "The first replicate's score"}, {"missing", "first"}));
  form.Add(RadioGroupControl("name", "The merged individual's name",
                             {"The first replicate's name", "The stem or the group's name"}, {"first", "stem"}));
}

std::optional<MergeChoices> MergeReplicatesDialog::Execute(Session& session) {
  auto samples = ShowUntilRead(session, [] { return true; });
  if (!samples) return std::nullopt;
  MergeChoices choices;
  choices.samples = std::move(*samples);
  choices.disagreement = form["disagreement"].selected == 1 ? Disagreement::FirstReplicate : Disagreement::Missing;
  choices.naming = form["name"].selected == 1 ? MergedName::Stem : MergedName::FirstReplicate;
  return choices;
}

}  // namespace vorn
