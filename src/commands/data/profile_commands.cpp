// DataMatrix > Group-based Profiles: each group condensed into one band profile, and the
// profiles made the working matrix (Restore Original Matrix brings the individuals back).
#include "commands/data/filter_swap.h"
#include "commands/shell/main_program.h"
#include "matrix/band_profiles.h"

namespace vorn {
namespace {

void MakeProfiles(TMainPrg& app, ProfileKind kind, const char* caption, const char* report) {
  if (!app.ws.dataLoaded || app.ws.groups.groups.size() < 2) return;
  auto profiles = GroupProfileMatrix(app.ws, kind);
  if (!app.Check(profiles)) return;
  const std::size_t groups = profiles->individualCount;
  SwapInMatrix(app, std::move(*profiles), FilterStepKind::Profiles, report,
               std::string("The individuals were condensed into ") + (kind == ProfileKind::Additive ? "additive" : "fixed") +
                   " band profiles of " + std::to_string(groups) + " groups.");
  // The profile rows are not the individuals the groups and locus sets were selected from.
  app.ws.groups.DropSelection();
  app.MessageQuery(std::string("EXPERIMENTAL: ") + caption + " generated. This is now your current datamatrix (AllData)",
                   caption, MessageButtons::Ok);
  app.Report(report);
}

void AdditiveBandProfile1Click(TMainPrg& app) {
  MakeProfiles(app, ProfileKind::Additive, "Additive Band Profile", "Generated Additive Band Profile");
}

void FixedBandProfile1Click(TMainPrg& app) {
  MakeProfiles(app, ProfileKind::Fixed, "Fixed Band Profile", "Generated Fixed Band Profile");
}

}  // namespace

void RegisterProfileCommands(HandlerTable& table) {
  table["AdditiveBandProfile1Click"] = Plain(AdditiveBandProfile1Click);
  table["FixedBandProfile1Click"] = Plain(FixedBandProfile1Click);
}

}  // namespace vorn
