// Analysis > Shannon's Index and Options > Shannon Scaling. The index command may first remove
// monomorphic loci (on the user's word), then computes I and var(I) in base 2, converts both to
// the chosen base, shows them and on request appends them to the analysis file.
#include <string>

#include "commands/shell/data_guard.h"
#include "commands/data/filter_swap.h"
#include "commands/shell/main_program.h"
#include "commands/population/shannon_text.h"
#include "core/number_format.h"
#include "matrix/band_frequencies.h"
#include "matrix/monomorphic.h"
#include "diversity/shannon.h"

namespace vorn {
namespace {

// Asks whether to remove monomorphic loci when there are any, and removes them on Yes (without a
// report line). False when the command must stop.
bool OfferMonomorphicRemoval(TMainPrg& app) {
  const auto monomorphic = HasMonomorphicLoci(app.ws.data);
  if (!app.Check(monomorphic)) return false;
  if (!*monomorphic) return true;
  const auto answer = app.MessageQuery(
      "The data-set contains monomorphic bands.\r\n"
      "Failure to remove monomorphic bands may result in meaningless Shannon values.\r\n"
      "Would you like to remove monomorphic bands from the data-set now?",
      "Data Warning", MessageButtons::YesNo);
  if (answer != MessageAnswer::Yes) return true;
  auto removal = RemoveMonomorphicLoci(app.ws.data, MonomorphicKinds::Both);
  if (!app.Check(removal)) return false;
  const std::string n = std::to_string(removal->removedCount);
  SwapInMatrix(app, std::move(removal->matrix), FilterStepKind::Removal,
               "Removing " + n + " monomorphic loci offered by Shannon's Index", "monomorphic loci");
  return true;
}

void WriteShannon(TMainPrg& app, Real index, Real variance) {
  const ShannonScaling& scaling = app.ws.settings.shannon;
  const ResultTable table =
      ShannonTable(index, variance, scaling.frequencyBasis == FrequencyBasis::RelativeToAllPresences);
  ReportStep step;
  step.title = "Shannon's index";
  step.references = {"shannon1948", "bowman1971"};
  step.method = "Shannon's information index I (Shannon 1948) of the band frequencies and its variance after Bowman "
                "et al. (1971) were computed over the " + std::to_string(app.ws.data.individualCount) +
                " individuals and " + std::to_string(app.ws.data.locusCount) + " loci.";
  WriteShannonBlock(app, "Shannon's index and variance/std.dev. (after Bowman & al., 1969)", table, std::move(step));
}

void N1Click(TMainPrg& app) {
  if (!RequireMatrix(app, "No data loaded")) return;
  if (!OfferMonomorphicRemoval(app)) return;

  const ShannonScaling& scaling = app.ws.settings.shannon;
  const auto frequencies = LocusBandFrequencies(app.ws.data, scaling.frequencyBasis);
  if (!app.Check(frequencies)) return;
  const auto base2 = ShannonBowman(app.ws.data.individualCount, *frequencies);
  if (!app.Check(base2)) return;
  const auto scaled = ToLogBase(*base2, scaling);
  if (!app.Check(scaled)) return;
  const Real index = scaled->index, variance = scaled->variance;

  app.Report("Calculating Shannon's index with current scaling settings and saving to analysis output file");
  const auto answer = app.MessageQuery(
      "I= " + FormatReal(index) + "\r\nvar(I)= " + FormatReal(variance) + " (after Bowman & al., 1969)*" +
          "\r\nStandard deviation= " + FormatReal(StandardDeviation(variance)) +
          "\r\n\r\nNote: *Variance is only meaningful if frequencies are calculated relative to entire data matrix!"
          "\r\n\r\nWrite to analysis file?",
      "Shannon's Diversity Index", MessageButtons::YesNo);
  if (answer == MessageAnswer::Yes) WriteShannon(app, index, variance);
}

void ShannonScaling1Click(TMainPrg& app) {
  ShannonScaling& scaling = app.ws.settings.shannon;
  if (!app.dialogs.shannonScaling.Execute(app, scaling)) return;
  app.Report("Shannon Scaling Settings: Frequencies per Locus: " +
             BoolText(scaling.frequencyBasis == FrequencyBasis::PerIndividual) + ". Log to Base " +
             FormatReal(scaling.baseValue));
}

}  // namespace

void RegisterShannonCommands(HandlerTable& table) {
  table["N1Click"] = Plain(N1Click);
  table["ShannonScaling1Click"] = Plain(ShannonScaling1Click);
}

}  // namespace vorn
